#include "io/write_queue.hpp"

namespace tolvex {

write_queue::write_queue(write_fn write, std::size_t depth)
    : write_(std::move(write)), depth_(depth), thread_([this] { run(); }) {}

write_queue::~write_queue() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void write_queue::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;
        const auto [target, content] = std::move(waiting_.front());
        waiting_.pop_front();
        writing_ = true;
        lock.unlock();
        std::exception_ptr failed;
        try {
            write_(target, content);
        } catch (...) {
            failed = std::current_exception();
        }
        lock.lock();
        writing_ = false;
        if (failed) {
            failure_ = failed;
            waiting_.clear();
        }
        changed_.notify_all();
    }
}

void write_queue::rethrow_failure() {
    if (failure_)
        std::rethrow_exception(failure_);
}

void write_queue::push(std::string target, std::string content) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || waiting_.size() < depth_; });
    rethrow_failure();
    waiting_.emplace_back(std::move(target), std::move(content));
    changed_.notify_all();
}

void write_queue::finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || (waiting_.empty() && !writing_); });
    rethrow_failure();
}

} // namespace tolvex
