// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/media_dates.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zefa {

FileFacts MediaDates::ReadFacts(const std::string& path, unsigned kinds) {
  FileFacts facts;
  if ((kinds & kFactTaken) != 0) facts.recorded = ReadRecorded(path);
  if ((kinds & kFactModified) != 0) facts.modified = ModifiedTime(path);
  return facts;
}

bool MediaDates::ForEach(std::size_t count, const std::function<void(std::size_t)>& work,
                         const KeepGoing& keep_going) {
  for (std::size_t i = 0; i < count; ++i) {
    if (keep_going && i > 0 && !keep_going(i)) return false;
    work(i);
  }
  return true;
}

bool ForEachOnThreads(std::size_t count, unsigned threads,
                      const std::function<void(std::size_t)>& work, const KeepGoing& keep_going) {
  if (threads < 1) threads = 1;
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable finished;
  unsigned running = threads;
  const auto worker = [&] {
    for (;;) {
      const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
      if (i >= count || stop.load(std::memory_order_relaxed)) break;
      try {
        work(i);
      } catch (...) {
        // A file that could not be read leaves its result as it was.
      }
      done.fetch_add(1, std::memory_order_relaxed);
    }
    const std::lock_guard<std::mutex> lock(mutex);
    if (--running == 0) finished.notify_one();
  };
  std::vector<std::thread> pool;
  pool.reserve(threads);
  for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  {
    // The calling thread only listens: the progress window is painted and asked here.
    std::unique_lock<std::mutex> lock(mutex);
    while (running > 0) {
      finished.wait_for(lock, std::chrono::milliseconds(40));
      if (running == 0 || !keep_going) continue;
      lock.unlock();
      if (!keep_going(done.load(std::memory_order_relaxed))) stop = true;
      lock.lock();
    }
  }
  for (std::thread& thread : pool) thread.join();
  return done.load() == count;
}

}  // namespace zefa
