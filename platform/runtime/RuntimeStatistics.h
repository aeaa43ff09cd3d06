#pragma once

#include <cstddef>

// What the runtime holds, for tests and benchmarks that keep it in bounds.

// Bytes held by the method caches of every class, including the tables they have outgrown.
// Grows with the number of distinct (class, selector) lookups, never with method changes.
size_t objc_methodCacheBytes();
