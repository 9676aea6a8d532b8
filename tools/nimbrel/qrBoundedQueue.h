// A queue between two stages of the frame pipeline, holding at most a few
// frames so that a fast reader cannot run ahead of the render and fill the
// memory. Closing it ends the stages: a closed queue takes nothing more but
// still hands out what it holds.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace Quarn::Cli {

template <typename T> class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t capacity) : capacity_(capacity) { }

    // Waits until an item could be pushed; false once the queue is closed. A
    // stage that waits here before making its next item holds no frame
    // beyond what the queue holds.
    bool waitForRoom()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || items_.size() < capacity_; });
        return !closed_;
    }

    // Waits for room; false (and `item` dropped) once the queue is closed.
    bool push(T item)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || items_.size() < capacity_; });
        if (closed_)
            return false;
        items_.push_back(std::move(item));
        changed_.notify_all();
        return true;
    }

    // Waits for an item; nothing once the queue is closed and empty.
    std::optional<T> pop()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || !items_.empty(); });
        if (items_.empty())
            return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        changed_.notify_all();
        return item;
    }

    void close()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }

private:
    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<T> items_;
    bool closed_ = false;
};

}  // namespace Quarn::Cli
