#pragma once

#include "media/MediaDevice.h"

struct TFilterRec;

// A media file's device: a source filter loaded with the file and, for containers the source
// does not split itself, a splitter behind it. Named after the file without its folder. UI thread.
class TFileDevice : public TMediaDevice
{
  public:
    // Probes the file with `sourceRec` and, when given, `splitterRec` (records stay owned by the
    // process-wide list).
    TFileDevice(QString fileName, const TFilterRec *sourceRec, const TFilterRec *splitterRec);

    const QString &FileName() const { return fileName_; }
    const TFilterRec *SourceRec() const { return sourceRec_; }
    const TFilterRec *SplitterRec() const { return splitterRec_; }
    // The filter instances while connected.
    const FilterPtr &SourceFilter() const { return sourceFilter_; }
    const FilterPtr &SplitterFilter() const { return splitterFilter_; }

  protected:
    bool Connect() override;
    bool Disconnect() override;

  private:
    bool AddSource(Graph &graph);
    bool AddSplitter(Graph &graph);

    const QString fileName_;
    const TFilterRec *const sourceRec_;
    const TFilterRec *const splitterRec_;
    FilterPtr sourceFilter_;
    FilterPtr splitterFilter_;
};
