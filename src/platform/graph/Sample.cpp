#include "Sample.h"

#include <algorithm>

Sample::Sample(size_t capacity) : buffer_(capacity) {}

void Sample::Reserve(size_t capacity)
{
    if (buffer_.size() < capacity)
        buffer_.resize(capacity);
}

void Sample::SetActualLength(size_t bytes)
{
    actualLength_ = std::min(bytes, buffer_.size());
}

void Sample::SetTime(REFERENCE_TIME start, REFERENCE_TIME stop)
{
    start_ = start;
    stop_ = stop;
    hasTime_ = true;
}

void Sample::Reset()
{
    actualLength_ = 0;
    start_ = stop_ = 0;
    hasTime_ = syncPoint_ = discontinuity_ = preroll_ = false;
    discardAtStart_ = discardAtEnd_ = 0;
    mediaType_.reset();
}
