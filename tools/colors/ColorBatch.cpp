#include "tools/colors/ColorBatch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

void ColorBatch::run(size_t count, unsigned jobs, const Work& work, const Deliver& deliver, const Progress& progress)
{
    jobs = unsigned(std::clamp<size_t>(jobs, 1, std::max<size_t>(count, 1)));
    if (jobs == 1) {
        for (size_t i = 0; i < count; ++i) {
            deliver(i, work(i));
            if (progress)
                progress(i + 1);
        }
        return;
    }

    std::vector<std::optional<std::string>> results(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next { 0 };
    size_t done = 0;
    // Inputs are taken one at a time in order, so the next line to print is never far behind.
    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) {
            std::string result = work(i);
            std::lock_guard lock(mutex);
            results[i] = std::move(result);
            ++done;
            finished.notify_one();
        }
    };
    std::vector<std::jthread> threads;
    threads.reserve(jobs);
    for (unsigned j = 0; j < jobs; ++j)
        threads.emplace_back(worker);

    for (size_t i = 0; i < count; ++i) {
        std::string result;
        size_t doneNow = 0;
        {
            std::unique_lock lock(mutex);
            while (!results[i]) {
                finished.wait_for(lock, std::chrono::milliseconds(100));
                if (progress) {
                    doneNow = done;
                    lock.unlock();
                    progress(doneNow);
                    lock.lock();
                }
            }
            result = std::move(*results[i]);
            results[i].reset();
            doneNow = done;
        }
        deliver(i, std::move(result));
        if (progress)
            progress(doneNow);
    }
}
