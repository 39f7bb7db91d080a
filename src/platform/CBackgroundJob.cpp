#include "platform/CBackgroundJob.hpp"

#include <utility>

namespace sulvan {

CBackgroundJob::~CBackgroundJob() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CBackgroundJob::Start(std::function<void()> job) {
    Wait();
    {
        const std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_bBusy = true;
    }
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread(&CBackgroundJob::Serve, this);
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            m_job = nullptr;
            m_bBusy = false;
            throw;
        }
        return;
    }
    m_changed.notify_all();
}

void CBackgroundJob::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_bBusy; });
    if (m_failure) {
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    }
}

void CBackgroundJob::Serve() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_bBusy || m_bStopping; });
        if (!m_bBusy) {
            return;
        }
        const std::function<void()> job = std::exchange(m_job, nullptr);
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        m_failure = failure;
        m_bBusy = false;
        m_changed.notify_all();
    }
}

}  // namespace sulvan
