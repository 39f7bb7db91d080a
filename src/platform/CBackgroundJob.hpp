#pragma once
// One job at a time on a thread of its own, for work that can go on while the caller does
// something else: a full buffer is written while the next one fills. The thread starts with
// the first job, so objects that never start one cost nothing, and stops with the object.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace sulvan {

class CBackgroundJob {
  public:
    CBackgroundJob() = default;
    // Waits for the job that runs; a failure it ends with is dropped.
    ~CBackgroundJob();
    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    // Waits for the job before (rethrowing its failure instead of starting this one), then
    // starts this one.
    void Start(std::function<void()> job);
    // Returns when no job runs; rethrows, once, the exception the last job ended with. Both
    // Start and Wait throw only when no job runs.
    void Wait();

  private:
    void Serve();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;
    std::exception_ptr m_failure;
    bool m_bBusy = false;
    bool m_bStopping = false;
    std::thread m_thread;
};

}  // namespace sulvan
