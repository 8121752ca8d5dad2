#pragma once

#include "Sample.h"

#include <memory>
#include <mutex>
#include <vector>

// Recycles sample buffers so a stream does not allocate one per picture. Samples handed out
// return to the pool when their last reference goes, even after the pool itself is destroyed
// (they are then freed). Any thread may call Get().
class SamplePool
{
  public:
    // Keeps at most `maxFree` idle samples.
    explicit SamplePool(size_t maxFree = 16);
    ~SamplePool();
    SamplePool(const SamplePool &) = delete;
    SamplePool &operator=(const SamplePool &) = delete;

    // A reset sample with at least `capacity` bytes of buffer.
    SamplePtr Get(size_t capacity);

  private:
    struct Shelf {
        std::mutex mutex;
        std::vector<std::unique_ptr<Sample>> free;
        size_t maxFree;
        bool open = true; // guarded by mutex: false once the pool is gone
    };
    std::shared_ptr<Shelf> shelf_;
};
