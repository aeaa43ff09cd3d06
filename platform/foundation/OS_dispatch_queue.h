#pragma once

#include "platform/runtime/ClassBuilder.h"

#include <functional>
#include <memory>
#include <string>

// A dispatch queue as an object, so it can be retained, released and held weakly.
// The main queue runs its blocks on the main run loop; a serial queue runs them one at a
// time, in submission order, on a thread of its own that ends when the queue is released.
class OS_dispatch_queue : public Object {
    TW_OBJECT(OS_dispatch_queue)
public:
    static OS_dispatch_queue* mainQueue();
    static RefPtr<OS_dispatch_queue> createSerial(std::string label);

    const std::string& label() const { return m_label; }
    bool isMainQueue() const { return !m_worker; }
    // True on the thread currently running this queue's blocks.
    bool isCurrent() const;

    // The queue stays alive until the block has run.
    void async(std::function<void()>);
    // Waits for the block; called from the queue's own thread it runs at once instead of
    // deadlocking.
    void sync(const std::function<void()>&);

    ~OS_dispatch_queue() override;

    struct Worker;

protected:
    OS_dispatch_queue() = default;

private:
    void enqueue(std::function<void()>);

    std::string m_label;
    std::shared_ptr<Worker> m_worker;
};
