#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSCountedSet.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

namespace {

RefPtr<NSString> str(std::string_view text) { return NSString::string(text); }
RefPtr<NSNumber> num(long value) { return NSNumber::numberWithInteger(value); }

std::vector<std::string> keyTexts(const NSDictionary* dictionary)
{
    std::vector<std::string> texts;
    auto keys = dictionary->allKeys();
    for (auto& key : *keys)
        texts.push_back(objectCast<NSString>(key)->utf8());
    return texts;
}

// A class whose equality the dictionary can only learn through isEqual: and hash.
class Pair : public Object {
    TW_OBJECT(Pair)
public:
    Pair(int a, int b)
        : m_a(a)
        , m_b(b)
    {
    }
    bool isEqualImpl(Object* other) const
    {
        auto* pair = objectCast<Pair>(other);
        return pair && pair->m_a == m_a && pair->m_b == m_b;
    }
    unsigned long hashImpl() const { return static_cast<unsigned long>(m_a * 31 + m_b); }

private:
    int m_a;
    int m_b;
};

Class Pair::classObject()
{
    static Class cls = ClassBuilder<Pair>("CollectionTestPair", Object::classObject())
                           .method<&Pair::isEqualImpl>("isEqual:")
                           .method<&Pair::hashImpl>("hash")
                           .build();
    return cls;
}

TEST(OrderedDictionary, KeepsInsertionOrderAcrossReplaceAndRemove)
{
    auto dictionary = NSMutableDictionary::dictionary();
    for (auto key : { "zeta", "alpha", "mid", "beta" })
        dictionary->setObject(str(key).get(), str(key).get());
    EXPECT_EQ(keyTexts(dictionary.get()), (std::vector<std::string> { "zeta", "alpha", "mid", "beta" }));

    dictionary->setObject(num(7).get(), str("alpha").get());
    EXPECT_EQ(keyTexts(dictionary.get()), (std::vector<std::string> { "zeta", "alpha", "mid", "beta" }));
    EXPECT_EQ(objectCast<NSNumber>(dictionary->objectForStringKey("alpha"))->integerValue(), 7);

    dictionary->removeObjectForKey(str("zeta").get());
    dictionary->setValue(nullptr, str("mid").get());
    dictionary->setObject(str("again").get(), str("zeta").get());
    EXPECT_EQ(keyTexts(dictionary.get()), (std::vector<std::string> { "alpha", "beta", "zeta" }));
    EXPECT_EQ(dictionary->objectForStringKey("mid"), nullptr);
    // Lookups must still work after removal shifted the entries.
    EXPECT_EQ(objectCast<NSString>(dictionary->objectForStringKey("beta"))->utf8(), "beta");
    EXPECT_EQ(msgSend<unsigned long>(dictionary, SELECTOR("count")), 3u);
}

TEST(OrderedDictionary, NilKeysAndValuesAreIgnored)
{
    auto dictionary = NSMutableDictionary::dictionary();
    dictionary->setObject(nullptr, str("a").get());
    dictionary->setObject(str("a").get(), nullptr);
    EXPECT_EQ(dictionary->count(), 0u);
    EXPECT_EQ(dictionary->objectForKey(nullptr), nullptr);
}

TEST(OrderedDictionary, KeysMatchByValueThroughMessages)
{
    auto dictionary = NSMutableDictionary::dictionary();
    dictionary->setObject(str("one").get(), num(1).get());
    dictionary->setObject(str("pair").get(), make<Pair>(2, 3).get());
    msgSend(dictionary, SELECTOR("setObject:forKey:"), str("text"), str("k"));

    // Equal numbers of another kind, a fresh equal pair and a fresh equal string all find their value.
    EXPECT_EQ(objectCast<NSString>(dictionary->objectForKey(NSNumber::numberWithDouble(1.0).get()))->utf8(), "one");
    EXPECT_EQ(objectCast<NSString>(dictionary->objectForKey(make<Pair>(2, 3).get()))->utf8(), "pair");
    EXPECT_EQ(dictionary->objectForKey(make<Pair>(3, 2).get()), nullptr);
    auto found = msgSend<RefPtr<NSString>>(dictionary, SELECTOR("objectForKey:"), str("k"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->utf8(), "text");

    dictionary->setObject(str("replaced").get(), make<Pair>(2, 3).get());
    EXPECT_EQ(dictionary->count(), 3u);
}

TEST(OrderedDictionary, KeysSortedByValueAreStable)
{
    auto counts = NSMutableDictionary::dictionary();
    counts->setObject(num(2).get(), str("a").get());
    counts->setObject(num(5).get(), str("b").get());
    counts->setObject(num(2).get(), str("c").get());
    counts->setObject(num(9).get(), str("d").get());
    auto sorted = counts->keysSortedByValueUsingComparator([](id a, id b) {
        return uncheckedObjectCast<NSNumber>(b)->compare(uncheckedObjectCast<NSNumber>(a));
    });
    std::vector<std::string> order;
    for (auto& key : *sorted)
        order.push_back(objectCast<NSString>(key)->utf8());
    EXPECT_EQ(order, (std::vector<std::string> { "d", "b", "a", "c" }));
}

TEST(OrderedDictionary, EqualityIgnoresOrder)
{
    auto a = NSDictionary::dictionaryWithPairs({ { str("x"), num(1) }, { str("y"), num(2) } });
    auto b = NSDictionary::dictionaryWithPairs({ { str("y"), num(2) }, { str("x"), NSNumber::numberWithDouble(1.0) } });
    auto c = NSDictionary::dictionaryWithPairs({ { str("y"), num(2) }, { str("x"), num(3) } });
    EXPECT_TRUE(msgSend<bool>(a, SELECTOR("isEqual:"), b));
    EXPECT_FALSE(a->isEqual(c.get()));
}

TEST(ValueEquality, StringsCompareAndHashByText)
{
    auto a = str("com.apple.mobilemail");
    auto b = str("com.apple.mobilemail");
    EXPECT_NE(a.get(), b.get());
    EXPECT_TRUE(msgSend<bool>(a, SELECTOR("isEqual:"), b));
    EXPECT_TRUE(msgSend<bool>(a, SELECTOR("isEqualToString:"), b));
    EXPECT_EQ(msgSend<unsigned long>(a, SELECTOR("hash")), msgSend<unsigned long>(b, SELECTOR("hash")));
    EXPECT_FALSE(a->isEqual(str("com.apple.MobileMail").get()));
    EXPECT_FALSE(a->isEqual(num(1).get()));
    EXPECT_FALSE(a->isEqualToString(nullptr));
    EXPECT_STREQ(msgSend<const char*>(a, SELECTOR("UTF8String")), "com.apple.mobilemail");
    EXPECT_EQ(str("héllo😀")->length(), 7u);
}

TEST(ValueEquality, StringsReadAsNumbers)
{
    EXPECT_EQ(str("  42abc")->integerValue(), 42);
    EXPECT_EQ(str("-7")->integerValue(), -7);
    EXPECT_EQ(str("x")->integerValue(), 0);
    EXPECT_DOUBLE_EQ(str("0.25")->doubleValue(), 0.25);
    EXPECT_TRUE(str("YES")->boolValue());
    EXPECT_TRUE(str(" 007")->boolValue());
    EXPECT_FALSE(str("000")->boolValue());
    EXPECT_FALSE(str("no")->boolValue());
}

TEST(ValueEquality, NumbersCompareAcrossKinds)
{
    auto one = num(1);
    auto oneReal = NSNumber::numberWithDouble(1.0);
    auto yes = NSNumber::numberWithBool(true);
    EXPECT_TRUE(one->isEqual(oneReal.get()));
    EXPECT_TRUE(one->isEqual(yes.get()));
    EXPECT_EQ(one->hash(), oneReal->hash());
    EXPECT_EQ(one->hash(), yes->hash());
    EXPECT_EQ(yes->kind(), NSNumber::Kind::Bool);

    EXPECT_EQ(msgSend<long>(num(3), SELECTOR("compare:"), num(5)), -1);
    EXPECT_EQ(msgSend<long>(num(5), SELECTOR("compare:"), num(3)), 1);
    EXPECT_EQ(msgSend<long>(num(5), SELECTOR("compare:"), NSNumber::numberWithDouble(5.0)), 0);
    EXPECT_EQ(num(5)->compare(NSNumber::numberWithDouble(5.5).get()), NSOrderedAscending);
    EXPECT_EQ(NSNumber::numberWithDouble(-0.5)->compare(num(0).get()), NSOrderedAscending);
    // Exact, not by rounding the integer to a double.
    EXPECT_EQ(num(LONG_MAX)->compare(NSNumber::numberWithDouble(9223372036854775807.0).get()), NSOrderedAscending);
    EXPECT_EQ(NSNumber::numberWithDouble(2.75)->integerValue(), 2);
    EXPECT_FALSE(NSNumber::numberWithDouble(0.0)->boolValue());
}

TEST(Arrays, OutOfRangeAnswersNilAndMutationsIgnoreBadInput)
{
    auto array = NSMutableArray::array();
    EXPECT_EQ(array->firstObject(), nullptr);
    EXPECT_EQ(msgSend<Id>(array, SELECTOR("lastObject")), nullptr);
    array->addObject(str("b").get());
    array->insertObject(str("a").get(), 0);
    array->insertObject(str("z").get(), 9);
    array->addObject(nullptr);
    array->removeObjectAtIndex(7);
    EXPECT_EQ(array->count(), 2u);
    EXPECT_EQ(msgSend<Id>(array, SELECTOR("objectAtIndex:"), 5ul), nullptr);
    EXPECT_EQ(objectCast<NSString>(msgSend<Id>(array, SELECTOR("objectAtIndexedSubscript:"), 1ul))->utf8(), "b");
    EXPECT_TRUE(msgSend<bool>(array, SELECTOR("containsObject:"), str("a")));
    EXPECT_EQ(array->indexOfObject(str("b").get()), 1u);
    EXPECT_EQ(array->indexOfObject(str("c").get()), NSNotFound);

    array->addObjectsFromArray(array.get());
    EXPECT_EQ(array->count(), 4u);
    array->removeObject(str("a").get());
    EXPECT_EQ(array->count(), 2u);
    EXPECT_TRUE(array->isEqual(NSArray::arrayWithObjects({ str("b"), str("b") }).get()));
}

TEST(CountedSet, CountsEqualObjectsAndKeepsFirstInsertionOrder)
{
    auto samples = NSArray::arrayWithObjects({ make<Pair>(1, 1), str("x"), make<Pair>(1, 1), num(4), str("x"), make<Pair>(1, 1), NSNumber::numberWithDouble(4.0) });
    auto set = NSCountedSet::setWithArray(samples.get());
    EXPECT_EQ(set->count(), 3u);
    EXPECT_EQ(msgSend<unsigned long>(set, SELECTOR("countForObject:"), make<Pair>(1, 1)), 3u);
    EXPECT_EQ(set->countForObject(str("x").get()), 2u);
    EXPECT_EQ(set->countForObject(num(4).get()), 2u);
    EXPECT_EQ(set->countForObject(str("absent").get()), 0u);
    auto all = set->allObjects();
    ASSERT_EQ(all->count(), 3u);
    EXPECT_TRUE(all->objectAtIndex(0)->isKindOfClass(Pair::classObject()));
    EXPECT_TRUE(all->objectAtIndex(1)->isKindOfClass(NSString::classObject()));

    set->removeObject(str("x").get());
    set->removeObject(str("x").get());
    EXPECT_EQ(set->count(), 2u);
    EXPECT_FALSE(set->containsObject(str("x").get()));
}

TEST(CountedSet, InitWithArrayBySelector)
{
    auto set = class_createInstance(NSCountedSet::classObject());
    msgSend(set, SELECTOR("initWithArray:"), NSArray::arrayWithObjects({ num(1), num(1) }));
    EXPECT_EQ(msgSend<unsigned long>(set, SELECTOR("countForObject:"), num(1)), 2u);
}

TEST(Collections, ReleaseEverythingTheyHold)
{
    auto before = Object::liveObjectCount();
    {
        auto dictionary = NSMutableDictionary::dictionary();
        dictionary->setObject(NSArray::arrayWithObjects({ str("a") }).get(), str("k").get());
        dictionary->setObject(str("b").get(), str("k").get());
        auto set = NSCountedSet::setWithArray(NSArray::arrayWithObjects({ str("x") }).get());
        dictionary->setObject(set.get(), str("set").get());
    }
    EXPECT_EQ(Object::liveObjectCount(), before);
}

} // namespace
