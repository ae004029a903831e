#include "python/LongCall.h"

#include <chrono>
#include <thread>
#include <vector>

namespace {

struct InterruptedCall {
    std::thread thread;
    std::shared_ptr<LongCallState> state;
};

// The calls interrupted while their bodies still ran. There is one per
// process, as there is one set of signal handlers; never destroyed, so that
// no thread is left joinable by a destructor at exit.
class InterruptedCalls {
public:
    void Add(InterruptedCall call)
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_calls, [](InterruptedCall& c) {
            std::lock_guard done(c.state->mutex);
            if (!c.state->done)
                return false;
            c.thread.join();
            return true;
        });
        m_calls.push_back(std::move(call));
    }

    void JoinAll()
    {
        std::vector<InterruptedCall> calls;
        {
            std::lock_guard lock(m_mutex);
            calls.swap(m_calls);
        }
        for (InterruptedCall& c : calls)
            c.thread.join();
    }

private:
    std::mutex m_mutex;
    std::vector<InterruptedCall> m_calls;
};

InterruptedCalls& Interrupted()
{
    static InterruptedCalls* calls = new InterruptedCalls;
    return *calls;
}

bool OnMainThread()
{
    const py::module_ threading = py::module_::import("threading");
    return threading.attr("current_thread")().is(threading.attr("main_thread")());
}

}  // namespace

void RunLongCall(const std::shared_ptr<LongCallState>& state, std::function<void()> body)
{
    auto run = [state, body = std::move(body)] {
        try {
            body();
        } catch (...) {
            state->error = std::current_exception();
        }
        {
            std::lock_guard lock(state->mutex);
            state->done = true;
        }
        state->finished.notify_all();
    };
    if (!OnMainThread()) {
        {
            py::gil_scoped_release release;
            run();
        }
        if (state->error)
            std::rethrow_exception(state->error);
        return;
    }
    std::thread worker(std::move(run));
    for (;;) {
        bool done = false;
        {
            py::gil_scoped_release release;
            std::unique_lock lock(state->mutex);
            done = state->finished.wait_for(lock, std::chrono::milliseconds(kLongCallPollMs),
                                            [&state] { return state->done; });
        }
        if (done) {
            worker.join();
            if (state->error)
                std::rethrow_exception(state->error);
            return;
        }
        if (PyErr_CheckSignals() != 0) {
            state->cancel = true;
            Interrupted().Add({std::move(worker), state});
            throw py::error_already_set();
        }
    }
}

void JoinInterruptedCalls()
{
    py::gil_scoped_release release;
    Interrupted().JoinAll();
}
