#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise of a reader is a finding like a crash: the fuzzer stops and keeps the input.
inline void fuzzCheck(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}
