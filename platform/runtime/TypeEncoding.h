#pragma once

#include "platform/runtime/Runtime.h"
#include "platform/runtime/WeakPtr.h"

#include <string>
#include <type_traits>

// Type encodings of the canonical C++ types that cross a message send. Object
// arguments travel as id (borrowed), object results as Id (owned by the caller).

template<typename T>
inline constexpr bool IsObjectPointer = std::is_pointer_v<T> && std::is_base_of_v<Object, std::remove_cv_t<std::remove_pointer_t<T>>>;

template<typename T>
struct IsRefPtr : std::false_type { };
template<typename T>
struct IsRefPtr<RefPtr<T>> : std::true_type { using Pointee = T; };
template<typename T>
struct IsRefPtr<Ref<T>> : std::true_type { using Pointee = T; };

template<typename T>
struct IsWeakPtr : std::false_type { };
template<typename T>
struct IsWeakPtr<WeakPtr<T>> : std::true_type { using Pointee = T; };

template<typename T, typename = void>
struct TypeEncoding;

#define TW_TYPE_ENCODING(type, code) \
    template<>                       \
    struct TypeEncoding<type> {      \
        static constexpr const char* value = code; \
    };
TW_TYPE_ENCODING(void, "v")
TW_TYPE_ENCODING(bool, "B")
TW_TYPE_ENCODING(char, "c")
TW_TYPE_ENCODING(signed char, "c")
TW_TYPE_ENCODING(unsigned char, "C")
TW_TYPE_ENCODING(short, "s")
TW_TYPE_ENCODING(unsigned short, "S")
TW_TYPE_ENCODING(int, "i")
TW_TYPE_ENCODING(unsigned, "I")
TW_TYPE_ENCODING(long, "q")
TW_TYPE_ENCODING(long long, "q")
TW_TYPE_ENCODING(unsigned long, "Q")
TW_TYPE_ENCODING(unsigned long long, "Q")
TW_TYPE_ENCODING(float, "f")
TW_TYPE_ENCODING(double, "d")
TW_TYPE_ENCODING(SEL, ":")
TW_TYPE_ENCODING(Class, "#")
TW_TYPE_ENCODING(id, "@")
TW_TYPE_ENCODING(Id, "@")
TW_TYPE_ENCODING(const char*, "r*")
TW_TYPE_ENCODING(void*, "^v")
#undef TW_TYPE_ENCODING

// Canonical argument type: every object pointer or strong pointer becomes id.
template<typename T, typename = void>
struct CanonicalArgument {
    using type = T;
};
template<typename T>
struct CanonicalArgument<T, std::enable_if_t<IsObjectPointer<T>>> {
    using type = id;
};
template<typename T>
struct CanonicalArgument<T, std::enable_if_t<IsRefPtr<T>::value>> {
    using type = id;
};
template<>
struct CanonicalArgument<std::nullptr_t> {
    using type = id;
};
template<typename T>
using CanonicalArg = typename CanonicalArgument<std::remove_cvref_t<T>>::type;

template<typename T>
id toCanonicalArg(T* object) requires(std::is_base_of_v<Object, std::remove_cv_t<T>>)
{
    return const_cast<std::remove_cv_t<T>*>(object);
}
template<typename T>
id toCanonicalArg(const RefPtr<T>& object) { return const_cast<std::remove_cv_t<T>*>(object.get()); }
template<typename T>
id toCanonicalArg(const Ref<T>& object) { return const_cast<std::remove_cv_t<T>*>(object.ptr()); }
inline id toCanonicalArg(std::nullptr_t) { return nullptr; }
template<typename T>
T toCanonicalArg(T value) requires(!IsObjectPointer<T> && !IsRefPtr<T>::value)
{
    return value;
}

// Canonical result type: a strong pointer to any object becomes Id.
template<typename T, typename = void>
struct CanonicalResult {
    using type = T;
};
template<typename T>
struct CanonicalResult<T, std::enable_if_t<IsRefPtr<T>::value>> {
    using type = Id;
};
template<typename T>
using CanonicalRet = typename CanonicalResult<std::remove_cvref_t<T>>::type;

template<typename R, typename... Args>
const std::string& signatureEncoding()
{
    static const std::string encoding = [] {
        std::string s = TypeEncoding<R>::value;
        s += "@:";
        ((s += TypeEncoding<Args>::value), ...);
        return s;
    }();
    return encoding;
}

template<typename T>
const char* ivarEncoding()
{
    if constexpr (IsRefPtr<T>::value || IsWeakPtr<T>::value || IsObjectPointer<T>)
        return "@";
    else
        return TypeEncoding<T>::value;
}
