#pragma once
// A pool of worker threads fed by one first-in-first-out queue. It runs the page
// tasks of one row at a time: started per row, stopped when the row is settled, and
// idle again once every thread of that start has ended.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace shop {

class WorkerPool {
 public:
  enum State : int { Idle = 0, Running = 1, Stopping = 2 };
  using Task = std::function<void(std::int32_t, std::int32_t)>;

  WorkerPool() = default;
  // Stops the pool and waits for its threads.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // When Idle: starts up to `thread_count` threads and becomes Running (stays Idle
  // when none could start). Returns the number of threads of the current start.
  int start(int thread_count);
  // Queues the task with its two arguments when Running; otherwise drops it.
  void post(Task task, std::int32_t first, std::int32_t second);
  // Safe from any thread.
  int state() const { return state_.load(std::memory_order_acquire); }
  // When Running: becomes Stopping and queues one exit marker per thread behind
  // everything already queued. Otherwise does nothing.
  void stop();

  // Called on the thread that ends last, the moment the pool has become Idle, with
  // the pool's mutex held: it must not call back into the pool. An empty callback
  // removes it; once this returns, the former one is not running.
  void set_idle_callback(std::function<void()> callback);
  // Blocks until the pool is Idle or `timeout` has passed; returns whether Idle.
  bool wait_idle_for(std::chrono::milliseconds timeout);

 private:
  struct Entry {
    Task task;  // empty: an exit marker
    std::int32_t first = 0;
    std::int32_t second = 0;
  };

  void thread_body();
  void join_ended_threads();

  std::atomic<int> state_{Idle};
  mutable std::mutex mutex_;
  std::condition_variable queue_ready_;
  std::condition_variable became_idle_;
  std::deque<Entry> queue_;
  std::vector<std::thread> threads_;
  int live_threads_ = 0;
  std::function<void()> idle_callback_;
};

}  // namespace shop
