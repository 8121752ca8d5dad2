#include "media/MediaFactory.h"

#include "media/FilterRecs.h"
#include "platform/core/Paths.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/AvformatFileSplitter.h"
#include "platform/graph/AviSplitter.h"
#include "platform/graph/LavSplitterSource.h"

#include <QStringList>

namespace
{

const TFilterRec *Register(const Guid &classId, const char *name)
{
    return FilterRecs().FindOrAdd(classId, name, false);
}

} // namespace

TMediaFactory::TMediaFactory()
    : lavSource_(Register(CLSID_LAVSplitterSource, "LAV Splitter Source")),
      asyncSource_(Register(CLSID_AsyncReader, "File Source (Async.)")),
      aviSplitter_(Register(CLSID_AviSplitter, "AVI Splitter")),
      asfReader_(Register(CLSID_WMAsfReader, "WM ASF Reader")),
      waveParser_(Register(CLSID_WAVEParser, "Wave Parser")),
      mpeg2Splitter_(Register(CLSID_MPEG2Splitter, "MPEG-2 Splitter")),
      mpeg1Splitter_(Register(CLSID_MPEG1Splitter, "MPEG-I Stream Splitter")), sourceRec_(lavSource_)
{
}

TMediaFactory::~TMediaFactory()
{
    ClearCache();
}

void TMediaFactory::SetSourceRec(const TFilterRec *record)
{
    sourceRec_ = record && !record->ClassId.IsNull() ? record : lavSource_;
    ClearCache();
}

TFileDevice *TMediaFactory::GetDevice(const QString &fileName)
{
    if (!grapheMan_)
        return nullptr;
    if (auto cached = cache_.find(fileName); cached != cache_.end())
        return cached->second.get();
    std::unique_ptr<TFileDevice> device = CreateDevice(fileName);
    if (!device)
        return nullptr; // not cached: the next call tries again
    return cache_.emplace(fileName, std::move(device)).first->second.get();
}

void TMediaFactory::ClearCache()
{
    cache_.clear();
}

std::unique_ptr<TFileDevice> TMediaFactory::CreateDevice(const QString &fileName) const
{
    // The last try's device is kept even when it is not ready.
    std::unique_ptr<TFileDevice> device;
    for (const Try &attempt : Tries(Paths::ExtractFileExt(fileName).toLower())) {
        device = std::make_unique<TFileDevice>(fileName, attempt.source, attempt.splitter);
        if (device->Ready())
            break;
    }
    return device;
}

std::vector<TMediaFactory::Try> TMediaFactory::Tries(const QString &extension) const
{
    static const QStringList mpegAndModern{".mts",  ".m2ts", ".mkv", ".mov", ".mp4", ".3g2", ".ts", ".mpg",
                                           ".mpeg", ".m1v",  ".mp2", ".mpe", ".vob", ".m4v", ".m2v"};
    static const QStringList avi{".avi", ".ivf"};
    static const QStringList asf{".wmv", ".asf"};
    static const QStringList rawDv{".dv", ".dif"};
    if (mpegAndModern.contains(extension))
        return {{sourceRec_, nullptr}, {asyncSource_, mpeg2Splitter_}, {asyncSource_, mpeg1Splitter_}};
    if (avi.contains(extension))
        return {{sourceRec_, nullptr}, {asyncSource_, aviSplitter_}};
    if (asf.contains(extension))
        return {{sourceRec_, nullptr}, {asfReader_, nullptr}};
    if (extension == ".wav")
        return {{asyncSource_, waveParser_}};
    if (rawDv.contains(extension))
        return {{sourceRec_, nullptr}};
    return {};
}
