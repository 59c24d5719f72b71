#include "db/odbc/OdbcWorker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <chrono>

namespace db {

OdbcWorker::OdbcWorker() : m_thread([this] { serve(); }) {}

OdbcWorker::~OdbcWorker() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

OdbcWorker& OdbcWorker::instance() {
    static OdbcWorker worker;
    return worker;
}

void OdbcWorker::serve() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || (m_call && !m_finished); });
        if (m_quit)
            return;
        const std::function<void()>* call = m_call;
        lock.unlock();
        std::exception_ptr error;
        try {
            (*call)();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        m_error = error;
        m_finished = true;
        m_done.notify_one();
    }
}

void OdbcWorker::run(const std::function<void()>& call, const std::function<bool(int)>& waiting,
                     const std::function<void()>& stop) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        call();
        return;
    }
    OdbcWorker& worker = instance();
    std::unique_lock lock(worker.m_mutex);
    // A call made while the window paints during another one runs right here, on this thread, and
    // holds the window until it is done: the worker is busy with the other.
    if (worker.m_call) {
        lock.unlock();
        call();
        return;
    }
    worker.m_call = &call;
    worker.m_finished = false;
    worker.m_wake.notify_one();
    QElapsedTimer clock;
    clock.start();
    bool stopped = false;
    while (!worker.m_done.wait_for(lock, std::chrono::milliseconds(PollMs), [&] { return worker.m_finished; })) {
        lock.unlock();
        if (!waiting(int(clock.elapsed())) && !stopped) {
            stopped = true;
            stop();
        }
        lock.lock();
    }
    worker.m_call = nullptr;
    const std::exception_ptr error = std::exchange(worker.m_error, nullptr);
    lock.unlock();
    if (error)
        std::rethrow_exception(error);
}

} // namespace db
