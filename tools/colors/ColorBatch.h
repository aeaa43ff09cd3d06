#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Runs one piece of work per input on several threads and hands the results back on the
// calling thread in input order, each as soon as it and every one before it are done.
class ColorBatch {
public:
    using Work = std::function<std::string(size_t index)>;
    using Deliver = std::function<void(size_t index, std::string&& result)>;
    // Called on the calling thread while it waits, with the number of inputs done.
    using Progress = std::function<void(size_t done)>;

    // With one job everything runs on the calling thread. `work` must be safe to run on
    // several threads at once.
    static void run(size_t count, unsigned jobs, const Work&, const Deliver&, const Progress& = {});
};
