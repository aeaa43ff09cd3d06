#pragma once

#include "platform/runtime/MessageSend.h"

// Declares the runtime class of a C++ object type. Put it first in the class body.
#define TW_OBJECT(ClassName)                              \
public:                                                   \
    static Class classObject();                           \
                                                          \
private:                                                  \
    template<typename>                                    \
    friend class ::ClassBuilder;                          \
    template<typename TWType, typename... TWArgs>         \
    friend Ref<TWType>(::make)(TWArgs&&...);              \
                                                          \
public:

template<typename T, typename... Args>
Ref<T> make(Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    ObjectAccess::setIsa(object, T::classObject());
    return Ref<T>(Adopt, *object);
}

// Turns an object argument back into the C++ type a method expects (nil when it is not one).
template<typename A>
A fromCanonicalArg(CanonicalArg<A> value)
{
    if constexpr (IsObjectPointer<A>)
        return objectCast<std::remove_pointer_t<A>>(value);
    else if constexpr (IsRefPtr<A>::value)
        return A(objectCast<typename IsRefPtr<A>::Pointee>(value));
    else
        return value;
}

template<typename R>
CanonicalRet<R> toCanonicalResult(R&& value)
{
    if constexpr (IsRefPtr<std::remove_cvref_t<R>>::value)
        return Id(std::forward<R>(value));
    else
        return std::forward<R>(value);
}

template<auto M>
struct MemberImp;

template<typename C, typename R, typename... A, R (C::*M)(A...)>
struct MemberImp<M> {
    using Owner = C;
    static CanonicalRet<R> imp(id self, SEL, CanonicalArg<A>... args)
    {
        if constexpr (std::is_void_v<R>)
            (static_cast<C*>(self)->*M)(fromCanonicalArg<A>(args)...);
        else
            return toCanonicalResult((static_cast<C*>(self)->*M)(fromCanonicalArg<A>(args)...));
    }
};

template<typename C, typename R, typename... A, R (C::*M)(A...) const>
struct MemberImp<M> {
    using Owner = C;
    static CanonicalRet<R> imp(id self, SEL, CanonicalArg<A>... args)
    {
        if constexpr (std::is_void_v<R>)
            (static_cast<const C*>(self)->*M)(fromCanonicalArg<A>(args)...);
        else
            return toCanonicalResult((static_cast<const C*>(self)->*M)(fromCanonicalArg<A>(args)...));
    }
};

template<auto F>
struct StaticImp;

template<typename R, typename... A, R (*F)(A...)>
struct StaticImp<F> {
    static CanonicalRet<R> imp(Class, SEL, CanonicalArg<A>... args)
    {
        if constexpr (std::is_void_v<R>)
            F(fromCanonicalArg<A>(args)...);
        else
            return toCanonicalResult(F(fromCanonicalArg<A>(args)...));
    }
};

template<auto F>
struct MemberIvar;

template<typename C, typename F, F C::*M>
struct MemberIvar<M> {
    static void* address(Object* object) { return &(static_cast<C*>(object)->*M); }
    static RefPtr<Object> read(Object* object)
    {
        auto& field = static_cast<C*>(object)->*M;
        if constexpr (IsRefPtr<F>::value)
            return RefPtr<Object>(field.get());
        else if constexpr (IsWeakPtr<F>::value)
            return RefPtr<Object>(field.get().get());
        else if constexpr (IsObjectPointer<F>)
            return RefPtr<Object>(field);
        else
            return nullptr;
    }
};

// Registers the runtime class of a C++ type with its methods and instance variables:
//   ClassBuilder<UIView>("UIView", UIResponder::classObject())
//       .method<&UIView::layoutSubviewsImpl>("layoutSubviews")
//       .ivar<&UIView::m_layer>("_layer")
//       .build();
template<typename T>
class ClassBuilder {
public:
    ClassBuilder(const char* name, Class superclass)
        : m_class(objc_allocateClassPair(superclass, name))
    {
        if (!m_class)
            objc_fatal(std::string("class registered twice: ") + name);
        if constexpr (requires { new T(); })
            class_setFactory(m_class, [] { return static_cast<Object*>(new T()); });
    }

    template<auto M>
    ClassBuilder& method(const char* selector)
    {
        class_addMethod(m_class, sel_registerName(selector), &MemberImp<M>::imp);
        return *this;
    }

    template<typename R, typename... Args>
    ClassBuilder& function(const char* selector, R (*imp)(id, SEL, Args...))
    {
        class_addMethod(m_class, sel_registerName(selector), imp);
        return *this;
    }

    // A class method backed by a C++ static function, e.g. .classMethod<&UIColor::whiteColor>("whiteColor").
    template<auto F>
    ClassBuilder& classMethod(const char* selector)
    {
        class_addClassMethod(m_class, sel_registerName(selector), &StaticImp<F>::imp);
        return *this;
    }

    template<typename R, typename... Args>
    ClassBuilder& classFunction(const char* selector, R (*imp)(Class, SEL, Args...))
    {
        class_addClassMethod(m_class, sel_registerName(selector), imp);
        return *this;
    }

    template<auto M>
    ClassBuilder& ivar(const char* name)
    {
        using Field = std::remove_cvref_t<decltype(std::declval<T&>().*M)>;
        class_addIvarAccessor(m_class, name, ivarEncoding<Field>(), &MemberIvar<M>::address, &MemberIvar<M>::read);
        return *this;
    }

    Class build()
    {
        objc_registerClassPair(m_class);
        return m_class;
    }

private:
    Class m_class;
};
