#include "worker_pool.h"

#include <utility>

namespace pillar::serve {

void WorkerPool::start_worker() {
  auto self = workers_.emplace(workers_.end());
  *self = std::thread(&WorkerPool::work, this, self);  // the worker waits for mutex_ before it looks at `self`
}

void WorkerPool::enqueue(std::function<void()> job) {
  std::vector<std::thread> ended;
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    if (jobs_.size() > idle_ && workers_.size() < ceiling_)
      start_worker();
    else
      wake_.notify_one();
    ended.swap(ended_);
  }
  for (std::thread& worker : ended) worker.join();
}

void WorkerPool::shutdown() {
  Workers workers;
  std::vector<std::thread> ended;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    workers.swap(workers_);
    ended.swap(ended_);
  }
  wake_.notify_all();
  for (std::thread& worker : workers) worker.join();
  for (std::thread& worker : ended) worker.join();
}

void WorkerPool::work(Workers::iterator self) {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    bool woken = wake_.wait_for(lock, kQuietSpell, [this] { return stopping_ || !jobs_.empty(); });
    --idle_;
    if (!woken) {
      if (workers_.size() <= floor_) continue;
      ended_.push_back(std::move(*self));
      workers_.erase(self);
      return;
    }
    if (jobs_.empty()) return;  // stopping, and nothing left to finish
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
  }
}

}  // namespace pillar::serve
