#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/RuntimeStatistics.h"
#include "platform/runtime/Substrate.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <shared_mutex>
#include <unordered_map>
#include <unordered_set>

struct objc_ivar {
    std::string name;
    std::string types;
    IvarAddressFunction address;
    IvarObjectReader read;
};

struct objc_property {
    std::string name;
    std::string attributes;
};

namespace {

struct MethodCacheEntry {
    std::atomic<SEL> sel { nullptr };
    // Null for a selector no class in the chain implements.
    std::atomic<Method> method { nullptr };
};

// A class's remembered lookups: an open-addressing table that senders read without a lock.
// Under the registry lock an entry is only ever added, or has its method changed in place
// when a method is added up the chain; a table half full is copied into one twice its size.
// The old table is kept, because a sender on another thread may still be reading it; the
// kept tables of a class add up to less than its live one.
struct alignas(MethodCacheEntry) MethodCache {
    uint32_t capacity;
    uint32_t shift;
    uint32_t occupied { 0 };

    MethodCacheEntry* entries() { return reinterpret_cast<MethodCacheEntry*>(this + 1); }
    const MethodCacheEntry* entries() const { return reinterpret_cast<const MethodCacheEntry*>(this + 1); }
    // Selectors are heap addresses 16 bytes apart; multiplying spreads them over the table.
    uint32_t home(SEL sel) const { return uint32_t((reinterpret_cast<uintptr_t>(sel) * 0x9E3779B97F4A7C15ull) >> shift); }
    uint32_t next(uint32_t index) const { return (index + 1) & (capacity - 1); }
    static size_t bytesFor(uint32_t capacity) { return sizeof(MethodCache) + capacity * sizeof(MethodCacheEntry); }
};

} // namespace

struct objc_class {
    std::string name;
    Class superclass { nullptr };
    // Holds the class methods; its superclass is the superclass's metaclass.
    Class metaclass { nullptr };
    bool isMetaclass { false };
    ObjectFactory factory { nullptr };
    bool registered { false };
    std::unordered_map<SEL, std::unique_ptr<objc_method>> methods;
    std::vector<SEL> methodOrder;
    std::vector<std::unique_ptr<objc_ivar>> ivars;
    std::vector<std::unique_ptr<objc_property>> properties;
    std::atomic<MethodCache*> cache { nullptr };
};

namespace {

// Lookups by a C string or view, without building a std::string on every question.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view> {}(name); }
};

struct Registry {
    std::shared_mutex mutex;
    std::unordered_map<std::string, Class, NameHash, std::equal_to<>> classes;
    std::unordered_map<std::string, std::unique_ptr<objc_selector>, NameHash, std::equal_to<>> selectors;
    std::atomic<uint64_t> epoch { 1 };
    // Classes with a method cache, for refreshing what they remember when a method is added.
    std::vector<Class> cachedClasses;
    // Tables outgrown by their class, still readable by senders that loaded them before.
    std::vector<MethodCache*> outgrownCaches;
    std::atomic<size_t> methodCacheBytes { 0 };
};

// Counts registrations of classes and additions of instance variables: what the lookup
// memo remembers holds until the next one.
std::atomic<uint64_t> registrationGeneration { 1 };

uint64_t currentGeneration() { return registrationGeneration.load(std::memory_order_acquire); }

// The one place lookups by name are remembered: classes by name, instance variables by class
// and name, and whether an instance variable belongs to a class. The rule: every answer,
// found or missing, is remembered per thread until the runtime next registers a class or
// adds an instance variable; so a class or variable missing now is found as soon as it is
// registered. An answer is remembered under the addresses asked with, together with the
// name it answers, since a caller may reuse a name's storage for another name.
class LookupMemo {
public:
    struct Answer {
        bool remembered { false };
        void* value { nullptr };
    };

    Answer find(const void* first, const void* second, const char* name) const
    {
        auto& entry = entryFor(first, second);
        if (entry.first != first || entry.second != second || entry.generation != currentGeneration())
            return {};
        if (name && std::strcmp(entry.name, name))
            return {};
        return { true, entry.value };
    }

    // `name` outlives the entry: a class's or variable's own name, or a kept missing name.
    void remember(const void* first, const void* second, const void* value, const char* name, uint64_t generation)
    {
        entryFor(first, second) = { first, second, const_cast<void*>(value), name, generation };
    }

private:
    struct Entry {
        const void* first { nullptr };
        const void* second { nullptr };
        void* value { nullptr };
        const char* name { nullptr };
        uint64_t generation { 0 };
    };

    // Multiplying spreads nearby addresses (literals, heap blocks) over the table.
    Entry& entryFor(const void* first, const void* second) const
    {
        uintptr_t mixed = reinterpret_cast<uintptr_t>(first) * 0x9E3779B97F4A7C15ull ^ reinterpret_cast<uintptr_t>(second) * 0xC2B2AE3D27D4EB4Full;
        return m_entries[mixed >> (64 - indexBits)];
    }

    static constexpr unsigned indexBits = 7;
    mutable std::array<Entry, size_t(1) << indexBits> m_entries;
};

// The runtime is loaded with the program, so its thread-locals can sit in static TLS.
thread_local __attribute__((tls_model("initial-exec"))) LookupMemo lookupMemo;

// Names asked for and not found, kept so that their absence can be remembered. Bounded: a
// caller asking for endless made-up names gets its answers looked up each time instead.
const char* keptMissingName(const char* name)
{
    constexpr size_t limit = 1024;
    static auto* mutex = new std::mutex;
    static auto* names = new std::unordered_set<std::string, NameHash, std::equal_to<>>;
    std::lock_guard lock(*mutex);
    if (auto it = names->find(std::string_view(name)); it != names->end())
        return it->c_str();
    if (names->size() >= limit)
        return nullptr;
    return names->emplace(name).first->c_str();
}

void rememberMissing(const void* first, const void* second, const char* name, uint64_t generation)
{
    if (const char* kept = keptMissingName(name))
        lookupMemo.remember(first, second, nullptr, kept, generation);
}

} // namespace

uint64_t objc_lookupGeneration() { return currentGeneration(); }

namespace {

void startNewGeneration() { registrationGeneration.fetch_add(1, std::memory_order_acq_rel); }

Registry& registry()
{
    static Registry* instance = new Registry;
    return *instance;
}

Method findOwnMethod(Class cls, SEL sel)
{
    auto it = cls->methods.find(sel);
    return it == cls->methods.end() ? nullptr : it->second.get();
}

Method resolveLocked(Class cls, SEL sel)
{
    for (Class c = cls; c; c = c->superclass) {
        if (Method m = findOwnMethod(c, sel))
            return m;
    }
    return nullptr;
}

MethodCache* makeMethodCache(uint32_t capacity)
{
    size_t bytes = MethodCache::bytesFor(capacity);
    auto* cache = new (::operator new(bytes)) MethodCache { capacity, uint32_t(64 - std::countr_zero(capacity)) };
    for (uint32_t index = 0; index < capacity; ++index)
        new (&cache->entries()[index]) MethodCacheEntry;
    registry().methodCacheBytes.fetch_add(bytes, std::memory_order_relaxed);
    return cache;
}

MethodCacheEntry* findCacheEntry(MethodCache* cache, SEL sel)
{
    for (uint32_t index = cache->home(sel);; index = cache->next(index)) {
        auto& entry = cache->entries()[index];
        SEL key = entry.sel.load(std::memory_order_relaxed);
        if (key == sel)
            return &entry;
        if (!key)
            return nullptr;
    }
}

// Writes into an empty slot; the method is stored before the selector that publishes it.
void insertCacheEntry(MethodCache* cache, SEL sel, Method method)
{
    uint32_t index = cache->home(sel);
    while (cache->entries()[index].sel.load(std::memory_order_relaxed))
        index = cache->next(index);
    auto& entry = cache->entries()[index];
    entry.method.store(method, std::memory_order_relaxed);
    entry.sel.store(sel, std::memory_order_release);
    ++cache->occupied;
}

void rememberLookupLocked(Class cls, SEL sel, Method method)
{
    auto& r = registry();
    MethodCache* cache = cls->cache.load(std::memory_order_relaxed);
    if (!cache) {
        cache = makeMethodCache(8);
        cls->cache.store(cache, std::memory_order_release);
        r.cachedClasses.push_back(cls);
    }
    if (auto* entry = findCacheEntry(cache, sel)) {
        entry->method.store(method, std::memory_order_release);
        return;
    }
    // At most half full, so a probe always ends at an empty slot after a step or two.
    if ((cache->occupied + 1) * 2 > cache->capacity) {
        MethodCache* larger = makeMethodCache(cache->capacity * 2);
        for (uint32_t index = 0; index < cache->capacity; ++index) {
            auto& entry = cache->entries()[index];
            if (SEL key = entry.sel.load(std::memory_order_relaxed))
                insertCacheEntry(larger, key, entry.method.load(std::memory_order_relaxed));
        }
        cls->cache.store(larger, std::memory_order_release);
        r.outgrownCaches.push_back(cache);
        cache = larger;
    }
    insertCacheEntry(cache, sel, method);
}

// A method added to a class changes what its subclasses that already asked for it resolve to.
void refreshCachedLookupsLocked(Class owner, SEL sel)
{
    for (Class cls : registry().cachedClasses) {
        auto* entry = findCacheEntry(cls->cache.load(std::memory_order_relaxed), sel);
        if (entry && class_isSubclassOf(cls, owner))
            entry->method.store(resolveLocked(cls, sel), std::memory_order_release);
    }
}

} // namespace

[[noreturn]] void objc_fatal(const std::string& message)
{
    std::fprintf(stderr, "objc runtime: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

SEL sel_registerName(const char* name)
{
    if (!name)
        return nullptr;
    auto& r = registry();
    {
        std::shared_lock lock(r.mutex);
        auto it = r.selectors.find(std::string_view(name));
        if (it != r.selectors.end())
            return it->second.get();
    }
    std::unique_lock lock(r.mutex);
    auto& slot = r.selectors[name];
    if (!slot)
        slot = std::make_unique<objc_selector>(objc_selector { name });
    return slot.get();
}

SEL sel_getUid(const char* name) { return sel_registerName(name); }
const char* sel_getName(SEL sel) { return sel ? sel->name.c_str() : "<null selector>"; }

Class objc_getClass(const char* name)
{
    if (!name)
        return nullptr;
    if (auto remembered = lookupMemo.find(name, nullptr, name); remembered.remembered)
        return static_cast<Class>(remembered.value);
    auto& r = registry();
    std::shared_lock lock(r.mutex);
    uint64_t generation = currentGeneration();
    auto it = r.classes.find(std::string_view(name));
    if (it == r.classes.end() || !it->second->registered) {
        rememberMissing(name, nullptr, name, generation);
        return nullptr;
    }
    lookupMemo.remember(name, nullptr, it->second, it->second->name.c_str(), generation);
    return it->second;
}

std::vector<Class> objc_copyClassList()
{
    auto& r = registry();
    std::shared_lock lock(r.mutex);
    std::vector<Class> classes;
    for (auto& [name, cls] : r.classes) {
        if (cls->registered)
            classes.push_back(cls);
    }
    std::sort(classes.begin(), classes.end(), [](Class a, Class b) { return a->name < b->name; });
    return classes;
}

Class NSClassFromString(std::string_view name)
{
    // Like the C string it stands for, the name ends at a NUL.
    name = name.substr(0, name.find('\0'));
    auto& r = registry();
    std::shared_lock lock(r.mutex);
    auto it = r.classes.find(name);
    return it != r.classes.end() && it->second->registered ? it->second : nullptr;
}

Class objc_allocateClassPair(Class superclass, const char* name, size_t)
{
    if (!name)
        return nullptr;
    auto& r = registry();
    std::unique_lock lock(r.mutex);
    if (r.classes.count(name))
        return nullptr;
    auto* cls = new objc_class;
    cls->name = name;
    cls->superclass = superclass;
    auto* meta = new objc_class;
    meta->name = name;
    meta->isMetaclass = true;
    meta->superclass = superclass ? superclass->metaclass : nullptr;
    meta->registered = true;
    cls->metaclass = meta;
    r.classes[name] = cls;
    return cls;
}

void objc_registerClassPair(Class cls)
{
    if (!cls)
        return;
    std::unique_lock lock(registry().mutex);
    cls->registered = true;
    startNewGeneration();
}

const char* class_getName(Class cls) { return cls ? cls->name.c_str() : "nil"; }
Class objc_getMetaClass(Class cls) { return cls ? cls->metaclass : nullptr; }
bool class_isMetaClass(Class cls) { return cls && cls->isMetaclass; }
Class class_getSuperclass(Class cls) { return cls ? cls->superclass : nullptr; }

bool class_isSubclassOf(Class cls, Class ancestor)
{
    if (!ancestor)
        return false;
    for (Class c = cls; c; c = c->superclass) {
        if (c == ancestor)
            return true;
    }
    return false;
}

void class_setFactory(Class cls, ObjectFactory factory)
{
    if (cls)
        cls->factory = factory;
}

RefPtr<Object> class_createInstance(Class cls)
{
    for (Class c = cls; c; c = c->superclass) {
        if (c->factory) {
            Object* object = c->factory();
            ObjectAccess::setIsa(object, cls);
            return adoptRef(object);
        }
    }
    return nullptr;
}

bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types)
{
    if (!cls || !sel || !imp)
        return false;
    auto& r = registry();
    std::unique_lock lock(r.mutex);
    if (findOwnMethod(cls, sel))
        return false;
    auto method = std::make_unique<objc_method>();
    method->name = sel;
    method->imp.store(imp);
    method->types = types ? types : "";
    cls->methods.emplace(sel, std::move(method));
    cls->methodOrder.push_back(sel);
    refreshCachedLookupsLocked(cls, sel);
    r.epoch.fetch_add(1, std::memory_order_acq_rel);
    return true;
}

Method lookupMethod(Class cls, SEL sel)
{
    if (!cls || !sel)
        return nullptr;
    if (const MethodCache* cache = cls->cache.load(std::memory_order_acquire)) {
        for (uint32_t index = cache->home(sel);; index = cache->next(index)) {
            auto& entry = cache->entries()[index];
            SEL key = entry.sel.load(std::memory_order_acquire);
            if (key == sel)
                return entry.method.load(std::memory_order_acquire);
            if (!key)
                break;
        }
    }
    auto& r = registry();
    std::unique_lock lock(r.mutex);
    Method method = resolveLocked(cls, sel);
    rememberLookupLocked(cls, sel, method);
    return method;
}

size_t objc_methodCacheBytes() { return registry().methodCacheBytes.load(std::memory_order_relaxed); }

Method class_getInstanceMethod(Class cls, SEL sel) { return lookupMethod(cls, sel); }

IMP class_getMethodImplementation(Class cls, SEL sel)
{
    Method method = lookupMethod(cls, sel);
    return method ? method->imp.load() : nullptr;
}

bool class_respondsToSelector(Class cls, SEL sel) { return lookupMethod(cls, sel); }
IMP method_getImplementation(Method method) { return method ? method->imp.load() : nullptr; }
const char* method_getTypeEncoding(Method method) { return method ? method->types.c_str() : nullptr; }

IMP method_setImplementation(Method method, IMP imp)
{
    if (!method || !imp)
        return nullptr;
    return method->imp.exchange(imp, std::memory_order_acq_rel);
}

std::vector<SEL> class_copyMethodList(Class cls)
{
    if (!cls)
        return {};
    std::shared_lock lock(registry().mutex);
    return cls->methodOrder;
}

uint64_t objc_methodTableEpoch() { return registry().epoch.load(); }

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result)
{
    if (!cls || !sel || !replacement)
        return;
    auto& r = registry();
    std::unique_lock lock(r.mutex);
    if (Method own = findOwnMethod(cls, sel)) {
        if (result)
            *result = own->imp.load();
        own->imp.store(replacement, std::memory_order_release);
        return;
    }
    Method inherited = resolveLocked(cls->superclass, sel);
    if (!inherited)
        return;
    if (result)
        *result = inherited->imp.load();
    auto method = std::make_unique<objc_method>();
    method->name = sel;
    method->imp.store(replacement);
    method->types = inherited->types;
    cls->methods.emplace(sel, std::move(method));
    cls->methodOrder.push_back(sel);
    refreshCachedLookupsLocked(cls, sel);
    r.epoch.fetch_add(1, std::memory_order_acq_rel);
}

void objc_unrecognizedClassSelector(Class cls, SEL sel)
{
    objc_fatal(std::string("+[") + class_getName(cls) + " " + sel_getName(sel) + "]: unrecognized selector sent to class");
}

void objc_unrecognizedSelector(const Object* self, SEL sel)
{
    objc_fatal(std::string("-[") + class_getName(self->isa()) + " " + sel_getName(sel) + "]: unrecognized selector sent to instance");
}

void objc_checkSignature(Method method, SEL sel, const std::string& sendEncoding)
{
    if (method->types != sendEncoding) {
        objc_fatal(std::string("message ") + sel_getName(sel) + " sent with signature " + sendEncoding
            + " but the method's type encoding is " + method->types);
    }
}

bool class_addProperty(Class cls, const char* name, const objc_property_attribute_t* attributes, unsigned count)
{
    if (!cls || !name)
        return false;
    std::unique_lock lock(registry().mutex);
    for (auto& property : cls->properties) {
        if (property->name == name)
            return false;
    }
    auto property = std::make_unique<objc_property>();
    property->name = name;
    for (unsigned i = 0; i < count; ++i) {
        if (i)
            property->attributes += ',';
        property->attributes += attributes[i].name;
        if (attributes[i].value)
            property->attributes += attributes[i].value;
    }
    cls->properties.push_back(std::move(property));
    return true;
}

objc_property_t class_getProperty(Class cls, const char* name)
{
    if (!name)
        return nullptr;
    std::shared_lock lock(registry().mutex);
    for (Class c = cls; c; c = c->superclass) {
        for (auto& property : c->properties) {
            if (property->name == name)
                return property.get();
        }
    }
    return nullptr;
}

const char* property_getName(objc_property_t property) { return property ? property->name.c_str() : nullptr; }
const char* property_getAttributes(objc_property_t property) { return property ? property->attributes.c_str() : nullptr; }

bool class_addIvarAccessor(Class cls, const char* name, const char* types, IvarAddressFunction address, IvarObjectReader read)
{
    if (!cls || !name)
        return false;
    std::unique_lock lock(registry().mutex);
    for (auto& ivar : cls->ivars) {
        if (ivar->name == name)
            return false;
    }
    cls->ivars.push_back(std::make_unique<objc_ivar>(objc_ivar { name, types, address, read }));
    startNewGeneration();
    return true;
}

Ivar class_getInstanceVariable(Class cls, const char* name)
{
    if (!name)
        return nullptr;
    if (auto remembered = lookupMemo.find(cls, name, name); remembered.remembered)
        return static_cast<Ivar>(remembered.value);
    std::shared_lock lock(registry().mutex);
    uint64_t generation = currentGeneration();
    for (Class c = cls; c; c = c->superclass) {
        for (auto& ivar : c->ivars) {
            if (ivar->name == name) {
                lookupMemo.remember(cls, name, ivar.get(), ivar->name.c_str(), generation);
                return ivar.get();
            }
        }
    }
    rememberMissing(cls, name, name, generation);
    return nullptr;
}

const char* ivar_getName(Ivar ivar) { return ivar ? ivar->name.c_str() : nullptr; }
const char* ivar_getTypeEncoding(Ivar ivar) { return ivar ? ivar->types.c_str() : nullptr; }

static bool ivarBelongsTo(id object, Ivar ivar)
{
    Class cls = object->isa();
    // Variables are compared by address here, so no name is checked.
    if (auto remembered = lookupMemo.find(cls, ivar, nullptr); remembered.remembered)
        return remembered.value;
    // An ivar found on one class must not be read from an unrelated object.
    std::shared_lock lock(registry().mutex);
    uint64_t generation = currentGeneration();
    bool belongs = false;
    for (Class c = cls; c && !belongs; c = c->superclass) {
        for (auto& candidate : c->ivars)
            belongs = belongs || candidate.get() == ivar;
    }
    lookupMemo.remember(cls, ivar, belongs ? ivar : nullptr, nullptr, generation);
    return belongs;
}

RefPtr<Object> object_getIvar(id object, Ivar ivar)
{
    if (!object || !ivar || ivar->types.size() != 1 || ivar->types[0] != '@' || !ivarBelongsTo(object, ivar))
        return nullptr;
    return ivar->read(object);
}

void* object_getIvarAddress(id object, Ivar ivar)
{
    if (!object || !ivar || !ivarBelongsTo(object, ivar))
        return nullptr;
    return ivar->address(object);
}
