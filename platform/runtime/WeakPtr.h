#pragma once

#include "platform/runtime/Object.h"

// Zeroing weak references: a shared control block outlives the object and forgets it
// when the object is deallocated.
struct WeakControl;
WeakControl* weakControlFor(const Object*); // returns a retained control block
void weakControlRetain(WeakControl*);
void weakControlRelease(WeakControl*);
RefPtr<Object> weakControlLoad(WeakControl*);

template<typename T>
class WeakPtr {
public:
    WeakPtr() = default;
    WeakPtr(const T* object) { reset(object); }
    WeakPtr(const RefPtr<T>& object) { reset(object.get()); }
    WeakPtr(const WeakPtr& other)
        : m_control(other.m_control)
    {
        if (m_control)
            weakControlRetain(m_control);
    }
    WeakPtr& operator=(const WeakPtr& other)
    {
        if (this != &other) {
            if (other.m_control)
                weakControlRetain(other.m_control);
            clear();
            m_control = other.m_control;
        }
        return *this;
    }
    WeakPtr& operator=(const T* object)
    {
        reset(object);
        return *this;
    }
    ~WeakPtr() { clear(); }

    // A strong reference, or null once the object has started to deallocate.
    RefPtr<T> get() const
    {
        if (!m_control)
            return nullptr;
        return adoptRef(static_cast<T*>(weakControlLoad(m_control).leakRef()));
    }
    explicit operator bool() const { return static_cast<bool>(get()); }

    void clear()
    {
        if (m_control)
            weakControlRelease(m_control);
        m_control = nullptr;
    }

private:
    void reset(const T* object)
    {
        clear();
        if (object)
            m_control = weakControlFor(object);
    }

    WeakControl* m_control { nullptr };
};

using WeakId = WeakPtr<Object>;

// The phone's entry points for weak object variables.
void objc_storeWeak(WeakId* location, id object);
RefPtr<Object> objc_loadWeakRetained(WeakId* location);
