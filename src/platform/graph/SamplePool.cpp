#include "SamplePool.h"

SamplePool::SamplePool(size_t maxFree) : shelf_(std::make_shared<Shelf>())
{
    shelf_->maxFree = maxFree;
}

SamplePool::~SamplePool()
{
    std::lock_guard lock(shelf_->mutex);
    shelf_->open = false;
    shelf_->free.clear();
}

SamplePtr SamplePool::Get(size_t capacity)
{
    std::unique_ptr<Sample> sample;
    {
        std::lock_guard lock(shelf_->mutex);
        if (!shelf_->free.empty()) {
            sample = std::move(shelf_->free.back());
            shelf_->free.pop_back();
        }
    }
    if (sample)
        sample->Reset();
    else
        sample = std::make_unique<Sample>();
    sample->Reserve(capacity);
    // The deleter keeps the shelf alive and puts the sample back unless the pool is gone or full.
    return SamplePtr(sample.release(), [shelf = shelf_](Sample *used) {
        std::unique_ptr<Sample> owned(used);
        std::lock_guard lock(shelf->mutex);
        if (shelf->open && shelf->free.size() < shelf->maxFree)
            shelf->free.push_back(std::move(owned));
    });
}
