#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Substrate.h"

#include <gtest/gtest.h>

namespace {

class Animal : public Object {
    TW_OBJECT(Animal)
public:
    long legs() { return 4; }
    Id friendObject() { return m_friend; }
    RefPtr<Object> m_friend;
    long m_age { 7 };
protected:
    Animal() = default;
};

class Dog : public Animal {
    TW_OBJECT(Dog)
public:
    Id bark(id other) { return Id(other); }
protected:
    Dog() = default;
};

Class Animal::classObject()
{
    static Class cls = ClassBuilder<Animal>("TestAnimal", Object::classObject())
                           .method<&Animal::legs>("legs")
                           .method<&Animal::friendObject>("friend")
                           .ivar<&Animal::m_friend>("_friend")
                           .ivar<&Animal::m_age>("_age")
                           .build();
    return cls;
}

Class Dog::classObject()
{
    static Class cls = ClassBuilder<Dog>("TestDog", Animal::classObject())
                           .method<&Dog::bark>("bark:")
                           .build();
    return cls;
}

long (*origLegs)(id, SEL);
long hookedLegs(id self, SEL sel) { return origLegs(self, sel) + 1; }

TEST(RuntimeSmoke, SendsHooksAndIvars)
{
    auto dog = make<Dog>();
    auto animal = make<Animal>();
    EXPECT_EQ(msgSend<long>(dog.get(), SELECTOR("legs")), 4);
    MSHookMessageEx(Dog::classObject(), SELECTOR("legs"), &hookedLegs, &origLegs);
    EXPECT_EQ(msgSend<long>(dog.get(), SELECTOR("legs")), 5);
    EXPECT_EQ(msgSend<long>(animal.get(), SELECTOR("legs")), 4);
    EXPECT_EQ(msgSend<long>(nullptr, SELECTOR("legs")), 0);
    EXPECT_EQ(msgSend<RefPtr<Animal>>(dog.get(), SELECTOR("bark:"), animal).get(), animal.get());
    dog->m_friend = animal;
    EXPECT_EQ(object_getIvar(dog.get(), class_getInstanceVariable(dog->isa(), "_friend")).get(), animal.get());
    EXPECT_EQ(object_getIvar(dog.get(), class_getInstanceVariable(dog->isa(), "_missing")).get(), nullptr);
    EXPECT_EQ(*static_cast<long*>(object_getIvarAddress(dog.get(), class_getInstanceVariable(dog->isa(), "_age"))), 7);
    WeakPtr<Animal> weak(animal);
    dog->m_friend = nullptr;
    EXPECT_TRUE(weak.get());
    animal = nullptr;
    EXPECT_FALSE(weak.get());
}

} // namespace
