#include "ranking/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "ranking/row_check.h"

namespace shop {
namespace {

using namespace std::chrono_literals;

// Holds tasks until opened.
class Gate {
 public:
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void pass() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

TEST(WorkerPool, StatesOfOneStartAndWhatEachAccepts) {
  WorkerPool pool;
  std::atomic<int> ran{0};
  Gate gate;
  const WorkerPool::Task held = [&](std::int32_t, std::int32_t) {
    gate.pass();
    ++ran;
  };
  EXPECT_EQ(pool.state(), WorkerPool::Idle);
  pool.post(held, 0, 0);  // dropped: not started

  EXPECT_EQ(pool.start(3), 3);
  EXPECT_EQ(pool.state(), WorkerPool::Running);
  EXPECT_EQ(pool.start(7), 3) << "a running pool keeps its threads";
  for (int i = 0; i < 8; ++i) {
    pool.post(held, i, 0);
  }
  pool.stop();
  EXPECT_EQ(pool.state(), WorkerPool::Stopping);
  EXPECT_EQ(pool.start(7), 3);
  pool.post(held, 99, 0);  // dropped: stopping
  pool.stop();             // harmless second stop

  gate.open();
  ASSERT_TRUE(pool.wait_idle_for(10s));
  EXPECT_EQ(ran, 8) << "entries queued before the stop still run, later ones never";
  pool.post(held, 0, 0);
  pool.stop();
  EXPECT_EQ(pool.state(), WorkerPool::Idle);
  EXPECT_EQ(ran, 8);
}

TEST(WorkerPool, ExitMarkersComeBehindEveryQueuedEntry) {
  WorkerPool pool;
  std::vector<int> order;  // one thread: no lock needed beyond the pool's hand-over
  ASSERT_EQ(pool.start(1), 1);
  Gate gate;
  pool.post([&](std::int32_t, std::int32_t) { gate.pass(); }, 0, 0);
  for (int i = 1; i <= 20; ++i) {
    pool.post(
        [&order](std::int32_t first, std::int32_t second) { order.push_back(first * second); }, i,
        2);
  }
  pool.stop();
  gate.open();
  ASSERT_TRUE(pool.wait_idle_for(10s));
  ASSERT_EQ(order.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(order[i], (i + 1) * 2);
  }
}

TEST(WorkerPool, WithoutThreadsItStaysIdleAndDropsWork) {
  WorkerPool pool;
  std::atomic<int> ran{0};
  EXPECT_EQ(pool.start(0), 0);
  EXPECT_EQ(pool.state(), WorkerPool::Idle);
  pool.post([&](std::int32_t, std::int32_t) { ++ran; }, 1, 1);
  pool.stop();
  EXPECT_EQ(pool.state(), WorkerPool::Idle);
  EXPECT_EQ(ran, 0);
}

TEST(WorkerPool, RunsAsManyTasksAtOnceAsItHasThreadsAndRestartsAfterIdle) {
  WorkerPool pool;
  std::atomic<int> idle_calls{0};
  pool.set_idle_callback([&] { ++idle_calls; });
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start);
    ASSERT_EQ(pool.start(10), 10);
    std::mutex mutex;
    std::condition_variable all_in;
    int inside = 0;
    std::atomic<int> saw_all{0};
    for (int i = 0; i < 10; ++i) {
      pool.post(
          [&](std::int32_t, std::int32_t) {
            std::unique_lock lock(mutex);
            ++inside;
            all_in.notify_all();
            if (all_in.wait_for(lock, 10s, [&] { return inside == 10; })) {
              ++saw_all;
            }
          },
          i, 0);
    }
    pool.stop();
    ASSERT_TRUE(pool.wait_idle_for(20s));
    EXPECT_EQ(saw_all, 10);
    EXPECT_EQ(idle_calls, start);
  }
}

// The end-of-page step over many pages on ten threads: every page is posted and
// counted exactly once, the shown count climbs one by one, and the pool stops once.
TEST(RowCheck, EveryPageIsPostedAndCountedOnceThenThePoolStops) {
  for (const std::int32_t page_count : {1, 10, kPagesPostedAhead + 150}) {
    SCOPED_TRACE(page_count);
    WorkerPool pool;
    RowCheck check;
    std::mutex mutex;
    std::multiset<std::int32_t> pages;
    std::vector<std::int32_t> shown;  // written under the row's lock
    WorkerPool::Task task;
    task = [&](std::int32_t page, std::int32_t row) {
      EXPECT_EQ(row, 4);
      {
        std::lock_guard lock(mutex);
        pages.insert(page);
      }
      end_page(check, pool, task, row, [&](std::int32_t done) { shown.push_back(done); });
    };
    ASSERT_EQ(pool.start(10), 10);
    begin_row_check(check, "k", page_count);
    post_first_pages(check, pool, task, 4);
    ASSERT_TRUE(pool.wait_idle_for(20s));

    EXPECT_EQ(check.pages_done, page_count);
    ASSERT_EQ(static_cast<std::int32_t>(pages.size()), page_count);
    std::int32_t expected = 1;
    for (const std::int32_t page : pages) {
      EXPECT_EQ(page, expected++);
    }
    ASSERT_EQ(static_cast<std::int32_t>(shown.size()), page_count);
    for (std::int32_t i = 0; i < page_count; ++i) {
      EXPECT_EQ(shown[i], i + 1);
    }
  }
}

TEST(RowCheck, APageCountBelowOneEndsTheRowWithoutTasks) {
  WorkerPool pool;
  RowCheck check;
  std::atomic<int> ran{0};
  const WorkerPool::Task task = [&](std::int32_t, std::int32_t) { ++ran; };
  ASSERT_EQ(pool.start(10), 10);
  begin_row_check(check, "k", 0);
  post_first_pages(check, pool, task, 0);
  ASSERT_TRUE(pool.wait_idle_for(10s));
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(check.pages_done, 0);
}

// A find on page 3 of a huge page count: the pages already queued still run (and
// see the pool stopping) and nothing more is posted, so memory stays bounded.
TEST(RowCheck, AFindStopsPostingMorePages) {
  WorkerPool pool;
  RowCheck check;
  std::atomic<int> ran{0};
  std::atomic<bool> posted{false};
  WorkerPool::Task task;
  task = [&](std::int32_t page, std::int32_t row) {
    ++ran;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    if (page == 3) {
      while (!posted && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
      }
      pool.stop();
    }
    while (pool.state() == WorkerPool::Running && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
    end_page(check, pool, task, row, {});
  };
  ASSERT_EQ(pool.start(10), 10);
  begin_row_check(check, "k", 2'000'000'000);
  post_first_pages(check, pool, task, 0);
  posted = true;
  ASSERT_TRUE(pool.wait_idle_for(20s));
  EXPECT_EQ(ran, kPagesPostedAhead);
  EXPECT_EQ(check.pages_done, kPagesPostedAhead);
}

}  // namespace
}  // namespace shop
