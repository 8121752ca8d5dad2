#include "media/GraphChunk.h"

#include "media/GrapheMan.h"

TGraphChunk::TGraphChunk(QString name, TMediaDevice *parent, int number)
    : name_(std::move(name)), parent_(parent), number_(number)
{
}

QString TGraphChunk::DisplayName() const
{
    return number_ >= 2 ? name_ + " #" + QString::number(number_) : name_;
}

REFERENCE_TIME TGraphChunk::GraphDuration() const
{
    REFERENCE_TIME duration = 0;
    if (!manager_ || !manager_->MediaSeeking || FAILED(manager_->MediaSeeking->GetDuration(duration)))
        return 0;
    return duration;
}
