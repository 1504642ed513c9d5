#include "ranking/worker_pool.h"

#include <system_error>

namespace shop {

WorkerPool::~WorkerPool() {
  stop();
  wait_idle_for(std::chrono::milliseconds::max());
  join_ended_threads();
}

// Threads of an earlier start have all passed their last use of the pool once it
// is Idle; joining them only collects their ends.
void WorkerPool::join_ended_threads() {
  for (std::thread& thread : threads_) {
    if (thread.joinable()) {
      thread.join();
    }
  }
  threads_.clear();
}

int WorkerPool::start(int thread_count) {
  std::lock_guard lock(mutex_);
  if (state() != Idle) {
    return static_cast<int>(threads_.size());
  }
  join_ended_threads();
  queue_.clear();
  // Threads only wait on the queue, which needs the mutex held here: none of them
  // can take anything before the pool is fully set up.
  for (int i = 0; i < thread_count; ++i) {
    try {
      threads_.emplace_back([this] { thread_body(); });
    } catch (const std::system_error&) {
      break;
    }
  }
  live_threads_ = static_cast<int>(threads_.size());
  if (live_threads_ > 0) {
    state_.store(Running, std::memory_order_release);
  }
  return live_threads_;
}

void WorkerPool::post(Task task, std::int32_t first, std::int32_t second) {
  if (!task) {
    return;  // an empty task would read as an exit marker
  }
  {
    std::lock_guard lock(mutex_);
    if (state() != Running) {
      return;
    }
    queue_.push_back({std::move(task), first, second});
  }
  queue_ready_.notify_one();
}

void WorkerPool::stop() {
  {
    std::lock_guard lock(mutex_);
    if (state() != Running) {
      return;
    }
    state_.store(Stopping, std::memory_order_release);
    for (size_t i = 0; i < threads_.size(); ++i) {
      queue_.push_back({});
    }
  }
  queue_ready_.notify_all();
}

void WorkerPool::set_idle_callback(std::function<void()> callback) {
  std::lock_guard lock(mutex_);
  idle_callback_ = std::move(callback);
}

bool WorkerPool::wait_idle_for(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  const auto idle = [this] { return state() == Idle; };
  if (timeout == std::chrono::milliseconds::max()) {
    became_idle_.wait(lock, idle);
    return true;
  }
  return became_idle_.wait_for(lock, timeout, idle);
}

void WorkerPool::thread_body() {
  for (;;) {
    Entry entry;
    {
      std::unique_lock lock(mutex_);
      queue_ready_.wait(lock, [this] { return !queue_.empty(); });
      entry = std::move(queue_.front());
      queue_.pop_front();
      if (!entry.task) {
        if (--live_threads_ == 0) {
          queue_.clear();
          state_.store(Idle, std::memory_order_release);
          became_idle_.notify_all();
          if (idle_callback_) {
            try {
              idle_callback_();
            } catch (...) {
            }
          }
        }
        return;
      }
    }
    try {
      entry.task(entry.first, entry.second);
    } catch (...) {
      // A failing task counts as done; nothing may end the thread early.
    }
  }
}

}  // namespace shop
