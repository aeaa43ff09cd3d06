#pragma once

#include "platform/runtime/Runtime.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

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

// The instance variable of this name in a class, remembered for the class last asked about
// under the runtime's rule: until the runtime next registers a class or adds a variable.
// Missing answers are asked again (the runtime remembers those). For code that reads a
// variable by a fixed name on every pass: `instanceVariableNamed<"_lookView">(object->isa())`.
template<ClassName name>
Ivar instanceVariableNamed(Class cls)
{
    // Read without a lock: a reader that sees the sequence change under it looks up instead.
    static std::atomic<uint64_t> sequence { 0 };
    static std::atomic<Class> rememberedClass { nullptr };
    static std::atomic<Ivar> rememberedIvar { nullptr };
    static std::atomic<uint64_t> rememberedGeneration { 0 };
    uint64_t before = sequence.load(std::memory_order_acquire);
    if (!(before & 1) && cls && rememberedClass.load(std::memory_order_relaxed) == cls) {
        Ivar ivar = rememberedIvar.load(std::memory_order_relaxed);
        uint64_t generation = rememberedGeneration.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (sequence.load(std::memory_order_relaxed) == before && generation == objc_lookupGeneration())
            return ivar;
    }
    uint64_t generation = objc_lookupGeneration();
    Ivar ivar = class_getInstanceVariable(cls, name.text);
    if (!ivar)
        return nullptr;
    static std::mutex writer;
    std::lock_guard lock(writer);
    sequence.fetch_add(1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    rememberedClass.store(cls, std::memory_order_relaxed);
    rememberedIvar.store(ivar, std::memory_order_relaxed);
    rememberedGeneration.store(generation, std::memory_order_relaxed);
    sequence.fetch_add(1, std::memory_order_release);
    return ivar;
}
