// The server's workers. The HTTP library serves each connection on one
// worker from its first request until it closes, so a fixed pool is held
// by as many idle or slow clients as it has workers. This pool grows while
// every worker is busy, up to a ceiling, and shrinks back to its floor after
// a quiet spell: a slow client holds its own worker and no one else's, and
// the read and keep-alive timeouts end such a hold.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include <httplib.h>

namespace pillar::serve {

class WorkerPool final : public httplib::TaskQueue {
 public:
  WorkerPool(std::size_t floor, std::size_t ceiling) : floor_(floor), ceiling_(ceiling) {}
  ~WorkerPool() override { shutdown(); }

  // Runs `job` on an idle worker, on a new one when none is idle and the
  // ceiling allows, else as soon as a worker is free.
  void enqueue(std::function<void()> job) override;
  // Runs the jobs already queued, then ends every worker.
  void shutdown() override;

 private:
  using Workers = std::list<std::thread>;
  static constexpr std::chrono::seconds kQuietSpell{30};

  void work(Workers::iterator self);
  void start_worker();  // with mutex_ held

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  Workers workers_;
  std::vector<std::thread> ended_;  // workers that left after a quiet spell: joined later
  std::size_t idle_ = 0;
  const std::size_t floor_, ceiling_;
  bool stopping_ = false;
};

}  // namespace pillar::serve
