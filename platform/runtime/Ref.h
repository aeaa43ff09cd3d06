#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

// Owning pointers to reference-counted runtime objects. T provides retain() and release().

enum AdoptTag { Adopt };

template<typename T>
class Ref;

template<typename T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) { }
    RefPtr(T* ptr)
        : m_ptr(ptr)
    {
        if (m_ptr)
            m_ptr->retain();
    }
    RefPtr(AdoptTag, T* ptr)
        : m_ptr(ptr)
    {
    }
    RefPtr(const RefPtr& other)
        : RefPtr(other.m_ptr)
    {
    }
    RefPtr(RefPtr&& other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const RefPtr<U>& other)
        : RefPtr(static_cast<T*>(other.get()))
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(RefPtr<U>&& other) noexcept
        : m_ptr(other.leakRef())
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const Ref<U>& other)
        : RefPtr(static_cast<T*>(other.get()))
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(Ref<U>&& other) noexcept
        : m_ptr(other.leakRef())
    {
    }
    ~RefPtr()
    {
        if (m_ptr)
            m_ptr->release();
    }

    RefPtr& operator=(RefPtr other) noexcept
    {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T& operator*() const { return *m_ptr; }
    explicit operator bool() const { return m_ptr; }
    // No conversion to T*: a borrowed pointer is taken with get(), where a reader sees it.

    template<typename U>
    friend bool operator==(const RefPtr& a, const RefPtr<U>& b) { return a.get() == b.get(); }
    template<typename U>
    friend bool operator==(const RefPtr& a, const U* b) { return a.get() == b; }
    friend bool operator==(const RefPtr& a, std::nullptr_t) { return !a.m_ptr; }

    [[nodiscard]] T* leakRef() { return std::exchange(m_ptr, nullptr); }

private:
    T* m_ptr { nullptr };
};

template<typename T>
RefPtr<T> adoptRef(T* ptr) { return RefPtr<T>(Adopt, ptr); }

// A RefPtr that is never null by construction: what make<T>() answers, and any value
// whose absence would be a fault, not a case to handle.
template<typename T>
class Ref {
public:
    explicit Ref(T& object)
        : m_ptr(&object)
    {
    }
    Ref(AdoptTag, T& object)
        : m_ptr(Adopt, &object)
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other)
        : m_ptr(other.get())
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other) noexcept
        : m_ptr(Adopt, other.leakRef())
    {
    }

    T* get() const { return m_ptr.get(); }
    T* ptr() const { return m_ptr.get(); }
    T* operator->() const { return m_ptr.get(); }
    T& operator*() const { return *m_ptr; }

    // Only for handing the reference to a RefPtr; a moved-from Ref is left to be destroyed.
    [[nodiscard]] T* leakRef() { return m_ptr.leakRef(); }

    template<typename U>
    friend bool operator==(const Ref& a, const U* b) { return a.get() == b; }
    template<typename U>
    friend bool operator==(const Ref& a, const Ref<U>& b) { return a.get() == b.get(); }
    template<typename U>
    friend bool operator==(const Ref& a, const RefPtr<U>& b) { return a.get() == b.get(); }

private:
    RefPtr<T> m_ptr;
};
