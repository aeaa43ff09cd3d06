#pragma once

#include "platform/foundation/OS_dispatch_queue.h"

#include <cstdint>
#include <functional>

// libdispatch, as far as the system and the extension use it. Times are on the host
// clock, so delayed blocks run when the host advances the main run loop.

using dispatch_queue_t = OS_dispatch_queue*;
using dispatch_block_t = std::function<void()>;
using dispatch_time_t = uint64_t;
using dispatch_once_t = long;
using dispatch_queue_attr_t = const void*;

inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~0ull;
inline constexpr dispatch_queue_attr_t DISPATCH_QUEUE_SERIAL = nullptr;
inline constexpr int64_t NSEC_PER_SEC = 1'000'000'000;
inline constexpr int64_t NSEC_PER_MSEC = 1'000'000;

dispatch_queue_t dispatch_get_main_queue();
// Every queue made here is serial.
RefPtr<OS_dispatch_queue> dispatch_queue_create(const char* label, dispatch_queue_attr_t attr = DISPATCH_QUEUE_SERIAL);

void dispatch_async(dispatch_queue_t, dispatch_block_t);
void dispatch_sync(dispatch_queue_t, const dispatch_block_t&);
// The block is submitted to the queue when the host clock reaches `when`.
void dispatch_after(dispatch_time_t when, dispatch_queue_t, dispatch_block_t);
// `when` (or the host clock's now) plus delta nanoseconds.
dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);
// Runs the block once per predicate, however many threads ask at once; the others wait
// for it to finish.
void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t&);
