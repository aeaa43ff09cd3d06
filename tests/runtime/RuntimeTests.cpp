#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/RememberedClass.h"
#include "platform/runtime/RuntimeStatistics.h"
#include "platform/runtime/Substrate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> g_calls;

class Animal : public Object {
    TW_OBJECT(Animal)
public:
    long legs() const { return 4; }
    std::string speak() { return "..."; }
    void rename(RefPtr<Object> name) { m_name = name; }
    Id name() { return m_name; }
    double weight() { return 12.5; }
    bool isTame() { return true; }

    RefPtr<Object> m_name;
    WeakPtr<Object> m_owner;
    long m_age { 7 };

protected:
    Animal() = default;
};

class Dog : public Animal {
    TW_OBJECT(Dog)
public:
    static RefPtr<Dog> sharedDog()
    {
        static RefPtr<Dog> shared = make<Dog>();
        return shared;
    }
    static long breedCount(long base) { return base + 300; }
    Id fetch(id thing) { return Id(thing); }

protected:
    Dog() = default;
};

class Puppy : public Dog {
    TW_OBJECT(Puppy)
protected:
    Puppy() = default;
};

Class Animal::classObject()
{
    static Class cls = ClassBuilder<Animal>("TestAnimal", Object::classObject())
                           .method<&Animal::legs>("legs")
                           .method<&Animal::rename>("setName:")
                           .method<&Animal::name>("name")
                           .method<&Animal::weight>("weight")
                           .method<&Animal::isTame>("isTame")
                           .ivar<&Animal::m_name>("_name")
                           .ivar<&Animal::m_owner>("_owner")
                           .ivar<&Animal::m_age>("_age")
                           .build();
    return cls;
}

Class Dog::classObject()
{
    static Class cls = ClassBuilder<Dog>("TestDog", Animal::classObject())
                           .method<&Dog::fetch>("fetch:")
                           .classMethod<&Dog::sharedDog>("sharedDog")
                           .classMethod<&Dog::breedCount>("breedCount:")
                           .build();
    return cls;
}

Class Puppy::classObject()
{
    static Class cls = ClassBuilder<Puppy>("TestPuppy", Dog::classObject()).build();
    return cls;
}

// Every test gets classes no earlier test has hooked.
Class freshSubclass(Class superclass)
{
    static int counter = 0;
    std::string name = "TestFresh" + std::to_string(++counter);
    Class cls = objc_allocateClassPair(superclass, name.c_str());
    objc_registerClassPair(cls);
    return cls;
}

long (*firstSlot)(id, SEL);
long (*secondSlot)(id, SEL);
long firstReplacement(id self, SEL sel)
{
    g_calls.push_back("first");
    return firstSlot(self, sel) * 10;
}
long secondReplacement(id self, SEL sel)
{
    g_calls.push_back("second");
    return secondSlot(self, sel) + 1;
}

TEST(MethodReplacement, StackedReplacementsRunInOrderThroughTheirSlots)
{
    Class cls = freshSubclass(Dog::classObject());
    auto dog = class_createInstance(cls);
    g_calls.clear();
    MSHookMessageEx(cls, SELECTOR("legs"), &firstReplacement, &firstSlot);
    MSHookMessageEx(cls, SELECTOR("legs"), &secondReplacement, &secondSlot);
    EXPECT_EQ(msgSend<long>(dog, SELECTOR("legs")), 41);
    EXPECT_EQ(g_calls, (std::vector<std::string> { "second", "first" }));
}

long (*inheritedSlot)(id, SEL);
long inheritedReplacement(id self, SEL sel) { return inheritedSlot(self, sel) + 100; }

TEST(MethodReplacement, InheritedMethodIsReplacedOnThatClassAlone)
{
    Class cls = freshSubclass(Dog::classObject());
    Class child = freshSubclass(cls);
    MSHookMessageEx(cls, SELECTOR("legs"), &inheritedReplacement, &inheritedSlot);
    ASSERT_NE(inheritedSlot, nullptr);
    EXPECT_EQ(msgSend<long>(class_createInstance(cls), SELECTOR("legs")), 104);
    EXPECT_EQ(msgSend<long>(class_createInstance(child), SELECTOR("legs")), 104);
    EXPECT_EQ(msgSend<long>(make<Dog>(), SELECTOR("legs")), 4);
    EXPECT_EQ(msgSend<long>(make<Animal>(), SELECTOR("legs")), 4);
    auto ownMethods = class_copyMethodList(cls);
    EXPECT_EQ(ownMethods.size(), 1u);
    EXPECT_TRUE(class_copyMethodList(Dog::classObject()).size() == 1u); // only fetch:
}

long untouchedReplacement(id, SEL) { return 0; }

TEST(MethodReplacement, MissingClassOrSelectorLeavesTheSlotUntouched)
{
    auto sentinel = reinterpret_cast<long (*)(id, SEL)>(&untouchedReplacement);
    long (*slot)(id, SEL) = sentinel;
    MSHookMessageEx(objc_getClass("NoSuchClass"), SELECTOR("legs"), &untouchedReplacement, &slot);
    EXPECT_EQ(slot, sentinel);
    Class cls = freshSubclass(Dog::classObject());
    MSHookMessageEx(cls, SELECTOR("noSuchSelector"), &untouchedReplacement, &slot);
    EXPECT_EQ(slot, sentinel);
    EXPECT_FALSE(class_respondsToSelector(cls, SELECTOR("noSuchSelector")));
}

TEST(MessageSend, NilAnswersZeroOfEveryResultType)
{
    id nothing = nullptr;
    EXPECT_EQ(msgSend<long>(nothing, SELECTOR("legs")), 0);
    EXPECT_EQ(msgSend<double>(nothing, SELECTOR("weight")), 0.0);
    EXPECT_FALSE(msgSend<bool>(nothing, SELECTOR("isTame")));
    EXPECT_EQ(msgSend<Id>(nothing, SELECTOR("name")).get(), nullptr);
    EXPECT_EQ(msgSend<RefPtr<Dog>>(nothing, SELECTOR("fetch:"), nothing).get(), nullptr);
    EXPECT_EQ(msgSend<SEL>(nothing, SELECTOR("selector")), nullptr);
    msgSend<void>(nothing, SELECTOR("setName:"), nothing);
}

TEST(MessageSend, ObjectResultsAreCheckedAgainstTheRequestedType)
{
    auto dog = make<Dog>();
    auto animal = make<Animal>();
    EXPECT_EQ(msgSend<RefPtr<Animal>>(dog, SELECTOR("fetch:"), animal).get(), animal.get());
    // A result of another C++ type arrives as nil rather than a bad cast.
    EXPECT_EQ(msgSend<RefPtr<Dog>>(dog, SELECTOR("fetch:"), animal).get(), nullptr);
}

// Results are handed over, not copied: each one a caller holds is one reference, and a
// result refused by its type is released, not leaked.
TEST(MessageSend, ObjectResultsKeepTheirReferencesBalanced)
{
    auto dog = make<Dog>();
    auto animal = make<Animal>();
    dog->rename(animal);
    ASSERT_EQ(animal->retainCount(), 2u);
    {
        auto typed = msgSend<RefPtr<Animal>>(dog, SELECTOR("name"));
        auto plain = msgSend<Id>(dog, SELECTOR("name"));
        auto cast = objectCast<Animal>(msgSend<Id>(dog, SELECTOR("name")));
        EXPECT_EQ(animal->retainCount(), 5u);
        EXPECT_FALSE(msgSend<RefPtr<Dog>>(dog, SELECTOR("name")));
        EXPECT_FALSE(objectCast<Dog>(msgSend<Id>(dog, SELECTOR("name"))));
        EXPECT_EQ(animal->retainCount(), 5u);
    }
    EXPECT_EQ(animal->retainCount(), 2u);
    WeakPtr<Animal> weak(animal);
    EXPECT_EQ(weak.get().get(), animal.get());
    EXPECT_EQ(animal->retainCount(), 2u);
}

TEST(MessageSend, RespondsToSelectorFollowsTheHierarchy)
{
    auto puppy = make<Puppy>();
    EXPECT_TRUE(puppy->respondsToSelector(SELECTOR("legs")));
    EXPECT_TRUE(msgSend<bool>(puppy, SELECTOR("respondsToSelector:"), SELECTOR("fetch:")));
    EXPECT_FALSE(make<Animal>()->respondsToSelector(SELECTOR("fetch:")));
    EXPECT_FALSE(msgSend<bool>(nullptr, SELECTOR("respondsToSelector:"), SELECTOR("legs")));
    EXPECT_TRUE(puppy->isKindOfClass(Animal::classObject()));
    EXPECT_FALSE(make<Animal>()->isKindOfClass(Dog::classObject()));
    EXPECT_EQ(objc_getClass("TestPuppy"), Puppy::classObject());
    EXPECT_EQ(NSClassFromString("NoSuchClass"), nullptr);
}

#ifndef NDEBUG
TEST(MessageSendDeathTest, WrongSignatureIsCaughtInDebugBuilds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto dog = make<Dog>();
    EXPECT_DEATH(msgSend<int>(dog, SELECTOR("legs")), "signature i@: but the method's type encoding is q@:");
    EXPECT_DEATH(msgSend<void>(dog, SELECTOR("setName:"), 3L), "type encoding is v@:@");
}
#endif

TEST(MessageSendDeathTest, UnknownSelectorFailsLoudly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto dog = make<Dog>();
    EXPECT_DEATH(msgSend<void>(dog, SELECTOR("fly")), "unrecognized selector");
}

long (*classSlot)(Class, SEL, long);
long classReplacement(Class cls, SEL sel, long base) { return classSlot(cls, sel, base) * 2; }

TEST(ClassMethods, AreSentToClassesInheritedAndReplaceable)
{
    EXPECT_EQ(msgSendClass<RefPtr<Dog>>(objc_getClass("TestDog"), SELECTOR("sharedDog")).get(), Dog::sharedDog().get());
    EXPECT_EQ(msgSendClass<long>(Puppy::classObject(), SELECTOR("breedCount:"), 1L), 301);
    EXPECT_EQ(msgSendClass<long>(nullptr, SELECTOR("breedCount:"), 1L), 0);
    EXPECT_TRUE(class_respondsToClassSelector(Puppy::classObject(), SELECTOR("sharedDog")));
    EXPECT_FALSE(class_respondsToClassSelector(Animal::classObject(), SELECTOR("sharedDog")));
    // Class methods and instance methods do not mix.
    EXPECT_FALSE(make<Dog>()->respondsToSelector(SELECTOR("sharedDog")));

    Class cls = freshSubclass(Puppy::classObject());
    MSHookMessageEx(objc_getMetaClass(cls), SELECTOR("breedCount:"), &classReplacement, &classSlot);
    EXPECT_EQ(msgSendClass<long>(cls, SELECTOR("breedCount:"), 1L), 602);
    EXPECT_EQ(msgSendClass<long>(Puppy::classObject(), SELECTOR("breedCount:"), 1L), 301);
}

int g_deallocCount = 0;
void (*deallocSlot)(id, SEL);
void countingDealloc(id self, SEL sel)
{
    ++g_deallocCount;
    // Dealloc may touch the object through retain/release without a second dealloc.
    RefPtr<Object> keep(self);
    keep = nullptr;
    deallocSlot(self, sel);
}

TEST(Lifetime, ReplacedDeallocRunsAndTheObjectIsFreedOnce)
{
    Class cls = freshSubclass(Animal::classObject());
    MSHookMessageEx(cls, SELECTOR("dealloc"), &countingDealloc, &deallocSlot);
    int64_t before = Object::liveObjectCount();
    g_deallocCount = 0;
    {
        auto object = class_createInstance(cls);
        RefPtr<Object> second = object;
        EXPECT_EQ(Object::liveObjectCount(), before + 1);
    }
    EXPECT_EQ(g_deallocCount, 1);
    EXPECT_EQ(Object::liveObjectCount(), before);
}

TEST(Lifetime, WeakReferencesBecomeNilWhenTheObjectDies)
{
    RefPtr<Animal> animal = make<Animal>();
    WeakPtr<Animal> weak(animal);
    WeakPtr<Animal> copy = weak;
    EXPECT_EQ(weak.get().get(), animal.get());
    animal = nullptr;
    EXPECT_EQ(weak.get().get(), nullptr);
    EXPECT_EQ(copy.get().get(), nullptr);

    WeakId variable;
    RefPtr<Animal> queue = make<Animal>();
    objc_storeWeak(&variable, queue.get());
    EXPECT_EQ(objc_loadWeakRetained(&variable).get(), queue.get());
    queue = nullptr;
    EXPECT_EQ(objc_loadWeakRetained(&variable).get(), nullptr);
}

TEST(Lifetime, WeakLoadsRaceSafelyWithTheLastRelease)
{
    for (int round = 0; round < 200; ++round) {
        RefPtr<Animal> object = make<Animal>();
        WeakPtr<Animal> weak(object);
        std::thread loader([&] {
            for (int i = 0; i < 50; ++i) {
                if (auto strong = weak.get()) {
                    EXPECT_EQ(strong->legs(), 4);
                }
            }
        });
        object = nullptr;
        loader.join();
        EXPECT_FALSE(weak.get());
    }
}

static char s_tagKey;
static char s_assignKey;
static char s_unusedKey;

TEST(Lifetime, AssociatedValuesAreReleasedWithTheirOwner)
{
    int64_t before = Object::liveObjectCount();
    RefPtr<Animal> value = make<Animal>();
    WeakPtr<Animal> weakValue(value);
    {
        auto owner = make<Dog>();
        objc_setAssociatedObject(owner.get(), &s_tagKey, value.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        objc_setAssociatedObject(owner.get(), &s_assignKey, value.get(), OBJC_ASSOCIATION_ASSIGN);
        value = nullptr;
        EXPECT_TRUE(weakValue.get());
        EXPECT_EQ(objc_getAssociatedObject(owner.get(), &s_tagKey).get(), weakValue.get().get());
        EXPECT_EQ(objc_getAssociatedObject(owner.get(), &s_unusedKey).get(), nullptr);
    }
    EXPECT_FALSE(weakValue.get());
    EXPECT_EQ(Object::liveObjectCount(), before);
}

TEST(Lifetime, ReplacingAnAssociatedValueReleasesThePreviousOne)
{
    auto owner = make<Dog>();
    RefPtr<Animal> first = make<Animal>();
    WeakPtr<Animal> weakFirst(first);
    objc_setAssociatedObject(owner.get(), &s_tagKey, first.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    first = nullptr;
    objc_setAssociatedObject(owner.get(), &s_tagKey, make<Animal>().get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    EXPECT_FALSE(weakFirst.get());
    objc_setAssociatedObject(owner.get(), &s_tagKey, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &s_tagKey).get(), nullptr);
}

TEST(InstanceVariables, ReadByNameAndMissingOnesReadNil)
{
    auto dog = make<Dog>();
    auto name = make<Animal>();
    auto owner = make<Animal>();
    dog->m_name = name;
    dog->m_owner = owner.get();
    Ivar nameIvar = class_getInstanceVariable(dog->isa(), "_name");
    ASSERT_NE(nameIvar, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(nameIvar), "@");
    EXPECT_EQ(object_getIvar(dog.get(), nameIvar).get(), name.get());
    EXPECT_EQ(object_getIvar(dog.get(), class_getInstanceVariable(dog->isa(), "_owner")).get(), owner.get());
    EXPECT_EQ(class_getInstanceVariable(dog->isa(), "_lookView"), nullptr);
    EXPECT_EQ(object_getIvar(dog.get(), nullptr).get(), nullptr);
    EXPECT_EQ(object_getIvar(nullptr, nameIvar).get(), nullptr);

    Ivar age = class_getInstanceVariable(Puppy::classObject(), "_age");
    EXPECT_STREQ(ivar_getTypeEncoding(age), "q");
    EXPECT_EQ(*static_cast<long*>(object_getIvarAddress(dog.get(), age)), 7);
    // A scalar ivar never reads as an object, and an ivar of another class never reads at all.
    EXPECT_EQ(object_getIvar(dog.get(), age).get(), nullptr);
    EXPECT_EQ(object_getIvar(make<Object>().get(), nameIvar).get(), nullptr);
}

long s_shadowingAge = 3;
void* shadowingAgeAddress(Object*) { return &s_shadowingAge; }

// Lookups by name are remembered until the next registration, and absence never is.
TEST(NameLookups, AClassOrVariableMissingAtFirstIsFoundOnceRegistered)
{
    static const char* const name = "TestLateComer";
    EXPECT_EQ(objc_getClass(name), nullptr);
    Class late = objc_allocateClassPair(Animal::classObject(), name);
    // Allocated but not registered yet: still not found.
    EXPECT_EQ(objc_getClass(name), nullptr);
    objc_registerClassPair(late);
    EXPECT_EQ(objc_getClass(name), late);

    static const char* const ivarName = "_lateVariable";
    EXPECT_EQ(class_getInstanceVariable(late, ivarName), nullptr);
    ASSERT_TRUE(class_addIvarAccessor(Animal::classObject(), ivarName, "q", &shadowingAgeAddress, nullptr));
    EXPECT_NE(class_getInstanceVariable(late, ivarName), nullptr);
}

TEST(NameLookups, ClassNamedKeepsAFoundClassAndAsksAgainWhileMissing)
{
    EXPECT_EQ(classNamed<"TestLateByName">(), nullptr);
    EXPECT_EQ(classNamed<"TestLateByName">(), nullptr);
    Class late = objc_allocateClassPair(Animal::classObject(), "TestLateByName");
    objc_registerClassPair(late);
    EXPECT_EQ(classNamed<"TestLateByName">(), late);
    EXPECT_EQ(classNamed<"TestAnimal">(), Animal::classObject());
}

TEST(NameLookups, AnswersFollowTheNameNotWhereItIsStored)
{
    char name[32] = "TestAnimal";
    EXPECT_EQ(objc_getClass(name), Animal::classObject());
    std::snprintf(name, sizeof name, "TestDog");
    EXPECT_EQ(objc_getClass(name), Dog::classObject());

    char ivarName[16] = "_name";
    Ivar first = class_getInstanceVariable(Dog::classObject(), ivarName);
    std::snprintf(ivarName, sizeof ivarName, "_age");
    Ivar second = class_getInstanceVariable(Dog::classObject(), ivarName);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_STREQ(ivar_getName(second), "_age");
}

TEST(NameLookups, AVariableAddedLaterHidesTheOneFoundBeforeOnEveryThread)
{
    Class cls = freshSubclass(Animal::classObject());
    static const char* const ageName = "_age";
    Ivar inherited = class_getInstanceVariable(cls, ageName);
    ASSERT_NE(inherited, nullptr);
    EXPECT_EQ(instanceVariableNamed<"_age">(cls), inherited);
    std::thread([&] { EXPECT_EQ(class_getInstanceVariable(cls, ageName), inherited); }).join();

    ASSERT_TRUE(class_addIvarAccessor(cls, ageName, "q", &shadowingAgeAddress, nullptr));
    Ivar own = class_getInstanceVariable(cls, ageName);
    EXPECT_NE(own, inherited);
    EXPECT_EQ(instanceVariableNamed<"_age">(cls), own);
    auto object = class_createInstance(cls);
    EXPECT_EQ(*static_cast<long*>(object_getIvarAddress(object.get(), own)), 3);
    std::thread([&] { EXPECT_EQ(class_getInstanceVariable(cls, ageName), own); }).join();
    // The new variable belongs to this class alone.
    EXPECT_EQ(object_getIvarAddress(make<Animal>().get(), own), nullptr);
}

Id addedGetter(id self, SEL) { return objc_getAssociatedObject(self, &s_tagKey); }
void addedSetter(id self, SEL, id value) { objc_setAssociatedObject(self, &s_tagKey, value, OBJC_ASSOCIATION_RETAIN_NONATOMIC); }

TEST(AddedMembers, MethodsAndPropertiesCarryTheirEncodings)
{
    Class cls = freshSubclass(Dog::classObject());
    objc_property_attribute_t attributes[] = { { "T", "@\"NSString\"" }, { "&", "" }, { "N", "" } };
    EXPECT_TRUE(class_addProperty(cls, "bundleID", attributes, 3));
    EXPECT_FALSE(class_addProperty(cls, "bundleID", attributes, 3));
    EXPECT_STREQ(property_getAttributes(class_getProperty(cls, "bundleID")), "T@\"NSString\",&,N");
    EXPECT_TRUE(class_addMethod(cls, SELECTOR("bundleID"), &addedGetter));
    EXPECT_TRUE(class_addMethod(cls, SELECTOR("setBundleID:"), &addedSetter));
    EXPECT_FALSE(class_addMethod(cls, SELECTOR("bundleID"), &addedGetter));
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(cls, SELECTOR("setBundleID:"))), "v@:@");

    auto object = class_createInstance(cls);
    auto value = make<Animal>();
    msgSend<void>(object, SELECTOR("setBundleID:"), value);
    EXPECT_EQ(msgSend<Id>(object, SELECTOR("bundleID")).get(), value.get());
    EXPECT_FALSE(make<Dog>()->respondsToSelector(SELECTOR("bundleID")));
}

TEST(AddedMembers, MethodAddedToASuperclassReachesCachedSubclasses)
{
    Class base = freshSubclass(Animal::classObject());
    Class child = freshSubclass(base);
    auto object = class_createInstance(child);
    EXPECT_FALSE(object->respondsToSelector(SELECTOR("bundleID")));
    class_addMethod(base, SELECTOR("bundleID"), &addedGetter);
    EXPECT_TRUE(object->respondsToSelector(SELECTOR("bundleID")));
}

long (*concurrentSlot)(id, SEL);
long concurrentReplacement(id self, SEL sel) { return concurrentSlot(self, sel); }

TEST(Threads, SendsStayCorrectWhileMethodsAreAdded)
{
    Class cls = freshSubclass(Dog::classObject());
    auto object = class_createInstance(cls);
    std::atomic<bool> stop { false };
    std::thread sender([&] {
        while (!stop)
            EXPECT_EQ(msgSend<long>(object, SELECTOR("legs")), 4);
    });
    for (int i = 0; i < 200; ++i)
        freshSubclass(cls);
    MSHookMessageEx(cls, SELECTOR("legs"), &concurrentReplacement, &concurrentSlot);
    stop = true;
    sender.join();
}

// ---- The method cache ------------------------------------------------------------------

std::vector<SEL> numberedSelectors(const std::string& prefix, int count)
{
    std::vector<SEL> selectors;
    for (int index = 0; index < count; ++index)
        selectors.push_back(sel_registerName((prefix + std::to_string(index)).c_str()));
    return selectors;
}

long addedLegs(id, SEL) { return 6; }
long sevenLegs(id, SEL) { return 7; }
long eightLegs(id, SEL) { return 8; }
long (*discardedSlot)(id, SEL);

// A lookup remembered costs a table slot and its share of the tables outgrown on the way:
// at most a table four times the lookups, and the outgrown ones less than that again.
constexpr size_t cacheBytesPerLookupBound = 160;

TEST(MethodCache, HoldsMemoryLinearInTheLookupsOfOneClass)
{
    Class cls = freshSubclass(Dog::classObject());
    auto object = class_createInstance(cls);
    auto selectors = numberedSelectors("oneClassProbe", 4000);
    size_t before = objc_methodCacheBytes();
    for (SEL sel : selectors)
        EXPECT_FALSE(object->respondsToSelector(sel));
    EXPECT_EQ(msgSend<long>(object, SELECTOR("legs")), 4);
    size_t held = objc_methodCacheBytes() - before;
    EXPECT_GT(held, 4000 * sizeof(void*) * 2);
    EXPECT_LE(held, 4001 * cacheBytesPerLookupBound);
    // Asking again costs nothing more.
    for (SEL sel : selectors)
        EXPECT_FALSE(object->respondsToSelector(sel));
    EXPECT_EQ(objc_methodCacheBytes() - before, held);
}

TEST(MethodCache, HoldsMemoryLinearInTheLookupsAcrossClasses)
{
    auto selectors = numberedSelectors("acrossClassesProbe", 20);
    std::vector<RefPtr<Object>> objects;
    for (int index = 0; index < 200; ++index)
        objects.push_back(class_createInstance(freshSubclass(Dog::classObject())));
    size_t before = objc_methodCacheBytes();
    for (auto& object : objects) {
        for (SEL sel : selectors)
            EXPECT_FALSE(object->respondsToSelector(sel));
    }
    EXPECT_LE(objc_methodCacheBytes() - before, objects.size() * selectors.size() * cacheBytesPerLookupBound);
}

TEST(MethodCache, MethodChangesRefreshWhatIsRememberedWithoutGrowingIt)
{
    Class base = freshSubclass(Dog::classObject());
    Class cls = freshSubclass(base);
    auto object = class_createInstance(cls);
    auto baseObject = class_createInstance(base);
    auto selectors = numberedSelectors("refreshProbe", 1000);
    for (SEL sel : selectors) {
        EXPECT_FALSE(object->respondsToSelector(sel));
        EXPECT_FALSE(baseObject->respondsToSelector(sel));
    }
    EXPECT_EQ(msgSend<long>(object, SELECTOR("legs")), 4);
    size_t held = objc_methodCacheBytes();

    for (int round = 0; round < 100; ++round) {
        // Added to the superclass: reaches the subclass that remembered the selector as missing.
        ASSERT_TRUE(class_addMethod(base, selectors[round], &addedLegs));
        EXPECT_EQ(msgSend<long>(object, selectors[round]), 6);
        // Overriding an inherited method, then replacing an own one, as hooks do.
        if (round % 2)
            MSHookMessageEx(base, SELECTOR("legs"), &eightLegs, &discardedSlot);
        else
            MSHookMessageEx(cls, SELECTOR("legs"), &sevenLegs, &discardedSlot);
        EXPECT_EQ(msgSend<long>(object, SELECTOR("legs")), 7);
        EXPECT_EQ(msgSend<long>(baseObject, SELECTOR("legs")), round ? 8 : 4);
        for (SEL sel : selectors)
            object->respondsToSelector(sel);
    }
    for (int index = 0; index < 1000; ++index)
        EXPECT_EQ(object->respondsToSelector(selectors[index]), index < 100) << index;
    EXPECT_EQ(objc_methodCacheBytes(), held);
}

long (*threadLegsSlot)(id, SEL);
long tenfoldLegs(id self, SEL sel) { return threadLegsSlot(self, sel) * 10; }

TEST(Threads, SendersOnSeveralThreadsSeeMethodsAsTheyAreAddedAndReplaced)
{
    Class base = freshSubclass(Dog::classObject());
    std::vector<Class> classes { base, freshSubclass(base), freshSubclass(base) };
    classes.push_back(freshSubclass(classes[1]));
    auto added = numberedSelectors("threadAdded", 300);
    std::atomic<int> addedCount { 0 };
    std::atomic<bool> hooked { false };
    std::atomic<bool> stop { false };
    std::atomic<long> faults { 0 };

    std::vector<std::thread> senders;
    for (int thread = 0; thread < 3; ++thread) {
        senders.emplace_back([&, thread] {
            auto object = class_createInstance(classes[thread]);
            // Every thread's own first-time lookups make the tables grow under the others.
            auto own = numberedSelectors("threadOwn" + std::to_string(thread) + "_", 2000);
            size_t next = 0;
            while (!stop.load()) {
                bool wasHooked = hooked.load();
                long legs = msgSend<long>(object, SELECTOR("legs"));
                if (legs != 40 && (wasHooked || legs != 4))
                    ++faults;
                int known = addedCount.load();
                if (known > 0 && !object->respondsToSelector(added[known - 1]))
                    ++faults;
                if (next < own.size() && object->respondsToSelector(own[next++]))
                    ++faults;
            }
        });
    }
    for (int index = 0; index < int(added.size()); ++index) {
        class_addMethod(base, added[index], &addedLegs);
        addedCount.store(index + 1);
        if (index % 30 == 0)
            freshSubclass(classes[index % classes.size()]);
        if (index == 150) {
            MSHookMessageEx(base, SELECTOR("legs"), &tenfoldLegs, &threadLegsSlot);
            hooked.store(true);
        }
    }
    stop.store(true);
    for (auto& sender : senders)
        sender.join();
    EXPECT_EQ(faults.load(), 0);
}

} // namespace
