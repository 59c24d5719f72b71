#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace db {

// A thread beside the application's main thread that makes the ODBC calls which wait for the
// server. The driver has no asynchronous mode, so a call that waits (a statement held up by a
// lock of another session, a slow server) would hold the main thread, and with it the window,
// for as long as it lasts; on the worker the main thread stays free to keep the window painting.
class OdbcWorker {
public:
    // Runs call and returns once it is done, raising what it raised. On the application's main
    // thread call runs on the worker while this thread calls waiting (with the milliseconds since
    // the call began) every PollMs; the first time waiting answers false, stop is called, on this
    // thread, to end the call early, and the wait goes on until call is done. On any other thread
    // call runs right there.
    static void run(const std::function<void()>& call, const std::function<bool(int)>& waiting,
                    const std::function<void()>& stop);

    static constexpr int PollMs = 15;

    ~OdbcWorker();
    OdbcWorker(const OdbcWorker&) = delete;
    OdbcWorker& operator=(const OdbcWorker&) = delete;

private:
    OdbcWorker();
    static OdbcWorker& instance();
    void serve();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void()>* m_call = nullptr;
    bool m_finished = false;
    bool m_quit = false;
    std::exception_ptr m_error;
    std::thread m_thread;
};

} // namespace db
