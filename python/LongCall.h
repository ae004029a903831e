#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

#include <pybind11/pybind11.h>

namespace py = pybind11;

// Long calls (a search, a measurement of many taps, an optimisation) that
// Ctrl-C stops: KeyboardInterrupt reaches Python within a poll period, not
// when the call would have returned.

// Set once the call was interrupted and nobody waits for its result: work
// that can stop early (a search's progress callback) reads it and stops.
using CancelFlag = std::atomic<bool>;

struct LongCallState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr error;
    CancelFlag cancel{false};
};

// Runs body with the GIL released and returns when it has, rethrowing what
// it threw. On Python's main thread body runs on a thread of its own while
// this one runs the signal handlers every kLongCallPollMs; one that raises
// (Ctrl-C's KeyboardInterrupt) sets state->cancel and is raised at once
// (py::error_already_set), and body ends on its own thread, which the
// module waits for before the interpreter exits. On other threads (where
// Python delivers no signal) body runs on the calling thread.
void RunLongCall(const std::shared_ptr<LongCallState>& state, std::function<void()> body);

// Waits for the bodies an interrupt left running (at the interpreter's
// exit: static objects they use go away after it). Call with the GIL held.
void JoinInterruptedCalls();

inline constexpr int kLongCallPollMs = 20;

// RunLongCall for work(const CancelFlag&) returning a value. work runs on
// another thread and may outlive the call: it must own what it reads
// (capture by value, no Python object) and write nothing of the caller's.
template <class Work>
std::invoke_result_t<Work&, const CancelFlag&> RunInterruptible(Work work)
{
    using Result = std::invoke_result_t<Work&, const CancelFlag&>;
    auto state = std::make_shared<LongCallState>();
    auto result = std::make_shared<std::optional<Result>>();
    RunLongCall(state, [state, result, work = std::move(work)]() mutable { result->emplace(work(state->cancel)); });
    return std::move(**result);
}
