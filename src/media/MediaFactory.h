#pragma once

#include "media/FileDevice.h"

#include <QString>
#include <map>
#include <memory>
#include <vector>

struct TFilterRec;
class TGrapheMan;

// Makes the device of a media file and keeps it while the program runs, so opening a file again
// reuses its probed sources. The file's extension chooses which source and splitter filters are
// tried, in order, until one combination yields a ready device. UI thread.
class TMediaFactory
{
  public:
    // Registers the filter records the extension table names.
    TMediaFactory();
    ~TMediaFactory();
    TMediaFactory(const TMediaFactory &) = delete;
    TMediaFactory &operator=(const TMediaFactory &) = delete;

    // The navigation manager; devices are made only once it is set.
    TGrapheMan *GrapheMan() const { return grapheMan_; }
    void SetGrapheMan(TGrapheMan *manager) { grapheMan_ = manager; }

    // The source filter tried first for most extensions.
    const TFilterRec *SourceRec() const { return sourceRec_; }
    // nullptr or a record with the null class id restores the default source. Empties the cache,
    // since cached devices were made with the old source.
    void SetSourceRec(const TFilterRec *record);

    // The cached device of `fileName` (names differing only in case are one entry), else a new
    // one, cached. nullptr when no manager is set or the extension is not a media one; a device
    // whose every try failed is returned not ready and without sources.
    TFileDevice *GetDevice(const QString &fileName);
    // Frees every cached device.
    void ClearCache();

  private:
    struct Try {
        const TFilterRec *source;
        const TFilterRec *splitter; // nullptr: the source splits the file itself
    };
    struct CaseInsensitiveLess {
        bool operator()(const QString &a, const QString &b) const
        {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        }
    };

    std::unique_ptr<TFileDevice> CreateDevice(const QString &fileName) const;
    // The source and splitter pairs to try for a lower-case extension (dot included).
    std::vector<Try> Tries(const QString &extension) const;

    const TFilterRec *const lavSource_;
    const TFilterRec *const asyncSource_;
    const TFilterRec *const aviSplitter_;
    const TFilterRec *const asfReader_;
    const TFilterRec *const waveParser_;
    const TFilterRec *const mpeg2Splitter_;
    const TFilterRec *const mpeg1Splitter_;
    const TFilterRec *sourceRec_;
    TGrapheMan *grapheMan_ = nullptr;
    std::map<QString, std::unique_ptr<TFileDevice>, CaseInsensitiveLess> cache_;
};
