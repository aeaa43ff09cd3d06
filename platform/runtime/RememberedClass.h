#pragma once

#include "platform/runtime/Runtime.h"

#include <algorithm>
#include <atomic>
#include <cstddef>

// A class name as a template argument, so that each name has one remembered answer.
template<size_t Size>
struct ClassName {
    consteval ClassName(const char (&name)[Size]) { std::copy_n(name, Size, text); }
    char text[Size] {};
};

// Found once, then remembered: a class once found is kept for good (classes are never
// removed and a name never passes to another class); while it is missing the runtime is
// asked again, so a class registered later (a library loaded after start-up) is found at
// the next call. For code that asks for a class by a fixed name on every pass:
// `classNamed<"MTMaterialView">()`.
template<ClassName name>
Class classNamed()
{
    static std::atomic<Class> found { nullptr };
    if (Class cls = found.load(std::memory_order_acquire))
        return cls;
    Class cls = objc_getClass(name.text);
    if (cls)
        found.store(cls, std::memory_order_release);
    return cls;
}
