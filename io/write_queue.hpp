// Files written on a thread of their own, in the order given, so that the caller goes on with its
// work meanwhile (tolvex-batch cuts the next step while the last one's files are written).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace tolvex {

class write_queue {
  public:
    using write_fn = std::function<void(const std::string& target, const std::string& content)>;

    // write is called on the queue's thread, one file at a time. At most depth files wait: a
    // caller giving more waits for room, which bounds the memory they hold.
    explicit write_queue(write_fn write, std::size_t depth = 4);
    // Drops what is still waiting and stops: the files written so far stay as write left them.
    ~write_queue();
    write_queue(const write_queue&) = delete;
    write_queue& operator=(const write_queue&) = delete;

    // Queues a file. Throws what write threw for an earlier file, after which nothing more is
    // written.
    void push(std::string target, std::string content);

    // Waits until every queued file is written; throws as push does.
    void finish();

  private:
    void run();
    void rethrow_failure();

    write_fn write_;
    std::size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::string, std::string>> waiting_;
    bool writing_ = false; // a file taken from waiting_ is being written
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

} // namespace tolvex
