#include "FilterRecs.h"

#include "media/PrivateFactories.h"
#include "platform/graph/ClassRegistry.h"

TFilterRecs::TFilterRecs()
{
    records_.push_back({GUID_NULL, QStringLiteral("No Video Decoder"), false});
    noVideoDecoder_ = &records_.back();
    records_.push_back({GUID_NULL, QStringLiteral("No Audio Decoder"), false});
    noAudioDecoder_ = &records_.back();
}

TFilterRec *TFilterRecs::FindOrAdd(const Guid &classId, const QString &name, bool isPrivate)
{
    for (auto it = records_.rbegin(); it != records_.rend(); ++it)
        if (it->ClassId == classId && it->Name == name && it->IsPrivate == isPrivate)
            return &*it;
    records_.push_back({classId, name, isPrivate});
    return &records_.back();
}

TFilterRecs &FilterRecs()
{
    static TFilterRecs records;
    return records;
}

FilterPtr CreateFilter(const TFilterRec &record, ClassRegistry &registry)
{
    FilterPtr filter;
    if (record.IsPrivate) {
        PrivateFactory *factory = PrivateFactories().Find(record.ClassId);
        if (factory && factory->HasFactory() && FAILED(factory->CreateInstance(filter)))
            filter.reset();
    }
    if (!filter && FAILED(registry.CreateInstance(record.ClassId, filter)))
        filter.reset();
    return filter;
}
