#pragma once

#include "platform/runtime/Object.h"

#include <string>
#include <string_view>
#include <vector>

// The object runtime, modelled on the phone's: classes by name, selectors,
// methods with type encodings, properties, instance variables and associated values.

using IMP = void (*)();

struct objc_selector {
    std::string name;
};

struct objc_ivar;
using Ivar = const objc_ivar*;
struct objc_method;
using Method = objc_method*;
struct objc_property;
using objc_property_t = const objc_property*;

struct objc_property_attribute_t {
    const char* name;
    const char* value;
};

enum objc_AssociationPolicy : uintptr_t {
    OBJC_ASSOCIATION_ASSIGN = 0,
    OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
    OBJC_ASSOCIATION_COPY_NONATOMIC = 3,
    OBJC_ASSOCIATION_RETAIN = 01401,
    OBJC_ASSOCIATION_COPY = 01403,
};

using ObjectFactory = Object* (*)();

SEL sel_registerName(const char* name);
SEL sel_getUid(const char* name);
const char* sel_getName(SEL);

Class objc_getClass(const char* name);
Class NSClassFromString(std::string_view name);
// Every registered class, sorted by name.
std::vector<Class> objc_copyClassList();
Class objc_allocateClassPair(Class superclass, const char* name, size_t extraBytes = 0);
void objc_registerClassPair(Class);
const char* class_getName(Class);
// Class methods live in the metaclass: add, look up and replace them there.
Class objc_getMetaClass(Class);
bool class_isMetaClass(Class);
Class class_getSuperclass(Class);
bool class_isSubclassOf(Class cls, Class ancestor);
// Sets the C++ factory that builds instances of the class (and of subclasses without one).
void class_setFactory(Class, ObjectFactory);
RefPtr<Object> class_createInstance(Class);

bool class_addMethod(Class, SEL, IMP, const char* types);
Method class_getInstanceMethod(Class, SEL);
IMP class_getMethodImplementation(Class, SEL);
bool class_respondsToSelector(Class, SEL);
IMP method_getImplementation(Method);
const char* method_getTypeEncoding(Method);
IMP method_setImplementation(Method, IMP);
// Only the class's own methods, not inherited ones.
std::vector<SEL> class_copyMethodList(Class);

bool class_addProperty(Class, const char* name, const objc_property_attribute_t* attributes, unsigned count);
objc_property_t class_getProperty(Class, const char* name);
const char* property_getName(objc_property_t);
const char* property_getAttributes(objc_property_t);

// Instance variables are registered by the classes that declare them.
using IvarAddressFunction = void* (*)(Object*);
using IvarObjectReader = RefPtr<Object> (*)(Object*);
bool class_addIvarAccessor(Class, const char* name, const char* types, IvarAddressFunction, IvarObjectReader);
Ivar class_getInstanceVariable(Class, const char* name);
const char* ivar_getName(Ivar);
const char* ivar_getTypeEncoding(Ivar);
// The value of an object ivar; nil for a missing ivar, a missing object or a non-object ivar.
RefPtr<Object> object_getIvar(id, Ivar);
// The address of the ivar's storage inside the object, or null.
void* object_getIvarAddress(id, Ivar);

void objc_setAssociatedObject(id object, const void* key, id value, objc_AssociationPolicy policy);
RefPtr<Object> objc_getAssociatedObject(id object, const void* key);
void objc_removeAssociatedObjects(id object);

// Bumped whenever a method is added to a class (the method cache updates in place).
uint64_t objc_methodTableEpoch();
// Bumped whenever a class is registered or an instance variable added: a lookup by name
// remembered under one value holds while the value stays the same.
uint64_t objc_lookupGeneration();

[[noreturn]] void objc_fatal(const std::string& message);

struct objc_method {
    SEL name;
    std::atomic<IMP> imp;
    std::string types;
};
