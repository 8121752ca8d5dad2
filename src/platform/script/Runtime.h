#pragma once

#include "Error.h"
#include "Value.h"

#include <QString>

#include <atomic>
#include <random>
#include <vector>

namespace Script
{

class Runtime;

// The cells a running routine sees: its own (parameters, result, locals) and the script's
// globals.
struct Frame {
    Value *locals;
    Value *globals;
    Runtime *runtime;
};

// The state of one run: the stop request, the guard on recursion, the exceptions being handled
// and the random generator. It lives on the stack of the thread that runs the script; only the
// stop flag it watches may be set from other threads.
class Runtime
{
  public:
    // Deepest chain of script routine calls; the stack guard below usually ends recursion first.
    static constexpr int kMaxCallDepth = 100000;
    // Most cells the frames of the routines being called may hold together (about 160 MB), so that
    // recursion through a routine with large local arrays ends before memory does.
    static constexpr int64_t kMaxLiveCells = int64_t(1) << 21;

    explicit Runtime(const std::atomic<bool> &stopRequested);

    // Throws Stopped when a stop was requested. Checked at every loop iteration and routine call.
    void CheckStop() const
    {
        if (stopRequested_.load(std::memory_order_relaxed))
            throw Stopped();
    }

    // Marks the start and the end of a call of a script routine whose frame has `cells` cells.
    // Entering throws the run-time error "Stack overflow" when the calls nest too deeply for the
    // thread's stack or their frames grow too large.
    void EnterCall(int64_t cells);
    void LeaveCall(int64_t cells)
    {
        --callDepth_;
        liveCells_ -= cells;
    }

    // The messages of the exceptions whose handlers are running, innermost last ("raise;" and
    // ExceptionMessage use the innermost).
    std::vector<QString> handling;

    std::mt19937_64 random;

  private:
    const std::atomic<bool> &stopRequested_;
    int callDepth_ = 0;
    int64_t liveCells_ = 0;
    const char *stackLimit_ = nullptr; // calls must keep their frames above this address
};

// Brackets a script routine's call: EnterCall now, LeaveCall however the call ends.
class CallScope
{
  public:
    CallScope(Runtime &runtime, int64_t cells) : runtime_(runtime), cells_(cells)
    {
        runtime_.EnterCall(cells_);
    }
    ~CallScope() { runtime_.LeaveCall(cells_); }
    CallScope(const CallScope &) = delete;
    CallScope &operator=(const CallScope &) = delete;

  private:
    Runtime &runtime_;
    int64_t cells_;
};

} // namespace Script
