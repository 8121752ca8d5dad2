#include "Runtime.h"

#include "Error.h"

#include <pthread.h>

#include <algorithm>

namespace Script
{

namespace
{

// Stack kept free below the deepest script call, for the expressions it evaluates and the host
// routines it calls (which may run a whole event loop).
constexpr size_t kReservedStackBytes = 1024 * 1024;
// Stack assumed when the thread's stack bounds cannot be read.
constexpr size_t kFallbackStackBytes = 2 * 1024 * 1024;

const char *StackLimit()
{
    const char *here = static_cast<const char *>(__builtin_frame_address(0));
    const char *lowest = here - kFallbackStackBytes;
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        void *address = nullptr;
        size_t size = 0;
        if (pthread_attr_getstack(&attributes, &address, &size) == 0 && address && size > 0)
            lowest = static_cast<const char *>(address);
        pthread_attr_destroy(&attributes);
    }
    // Never less than a little room, even when the run starts deep in an almost full stack.
    return std::min(lowest + kReservedStackBytes, here - 64 * 1024);
}

} // namespace

Runtime::Runtime(const std::atomic<bool> &stopRequested)
    : random(std::random_device{}()), stopRequested_(stopRequested), stackLimit_(StackLimit())
{
}

void Runtime::EnterCall(int64_t cells)
{
    CheckStop();
    const char *here = static_cast<const char *>(__builtin_frame_address(0));
    if (here < stackLimit_ || callDepth_ >= kMaxCallDepth || liveCells_ + cells > kMaxLiveCells)
        throw Error(QStringLiteral("Stack overflow"));
    ++callDepth_;
    liveCells_ += cells;
}

} // namespace Script
