#include "platform/foundation/OS_dispatch_queue.h"

#include "platform/foundation/NSRunLoop.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct OS_dispatch_queue::Worker {
    std::mutex mutex;
    std::condition_variable wakeUp;
    std::deque<std::function<void()>> blocks;
    bool stopping { false };
    std::thread thread;

    void run();
};

namespace {

thread_local const OS_dispatch_queue::Worker* t_currentWorker;

// Blocks the caller until a block handed to another thread has run.
class Completion {
public:
    void signal()
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_condition.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_condition.wait(lock, [&] { return m_done; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_condition;
    bool m_done { false };
};

} // namespace

void OS_dispatch_queue::Worker::run()
{
    t_currentWorker = this;
    while (true) {
        std::function<void()> block;
        {
            std::unique_lock lock(mutex);
            wakeUp.wait(lock, [&] { return stopping || !blocks.empty(); });
            if (blocks.empty())
                return;
            block = std::move(blocks.front());
            blocks.pop_front();
        }
        block();
        // Dropped here, outside the lock: it may hold the last reference to the queue.
        block = nullptr;
    }
}

Class OS_dispatch_queue::classObject()
{
    static Class cls = ClassBuilder<OS_dispatch_queue>("OS_dispatch_queue", Object::classObject()).build();
    return cls;
}

OS_dispatch_queue* OS_dispatch_queue::mainQueue()
{
    static OS_dispatch_queue* queue = [] {
        auto main = make<OS_dispatch_queue>();
        main->m_label = "com.apple.main-thread";
        return main.leakRef();
    }();
    return queue;
}

RefPtr<OS_dispatch_queue> OS_dispatch_queue::createSerial(std::string label)
{
    auto queue = make<OS_dispatch_queue>();
    queue->m_label = std::move(label);
    auto worker = std::make_shared<Worker>();
    worker->thread = std::thread([worker] { worker->run(); });
    queue->m_worker = std::move(worker);
    return queue;
}

OS_dispatch_queue::~OS_dispatch_queue()
{
    if (!m_worker)
        return;
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->stopping = true;
    }
    m_worker->wakeUp.notify_all();
    // Released by its own last block: the thread ends by itself once that block returns.
    if (m_worker->thread.get_id() == std::this_thread::get_id())
        m_worker->thread.detach();
    else
        m_worker->thread.join();
}

bool OS_dispatch_queue::isCurrent() const
{
    if (!m_worker)
        return NSRunLoop::isMainThread();
    return t_currentWorker == m_worker.get();
}

void OS_dispatch_queue::async(std::function<void()> block)
{
    if (!block)
        return;
    enqueue([queue = RefPtr<OS_dispatch_queue>(this), block = std::move(block)] { block(); });
}

void OS_dispatch_queue::enqueue(std::function<void()> work)
{
    if (!m_worker) {
        NSRunLoop::mainRunLoop().perform(std::move(work));
        return;
    }
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->blocks.push_back(std::move(work));
    }
    m_worker->wakeUp.notify_one();
}

void OS_dispatch_queue::sync(const std::function<void()>& block)
{
    if (!block)
        return;
    if (isCurrent()) {
        block();
        return;
    }
    // Not retaining the queue: the caller holds it while waiting, and a release left to the
    // worker would outlive the call.
    Completion completion;
    enqueue([&] {
        block();
        completion.signal();
    });
    completion.wait();
}
