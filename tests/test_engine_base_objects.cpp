// Reference counts, autorelease pools and the object containers.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cocos2d.h"

USING_NS_CC;

namespace {

// Records its own destruction so lifetimes can be checked without touching freed memory.
class Tracked : public CCObject {
public:
    explicit Tracked(std::vector<std::string>* log, std::string name = "")
        : m_log(log), m_name(std::move(name)) {}
    ~Tracked() override { m_log->push_back(m_name); }

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

// Autoreleases a new object from its destructor, like a node dropping its children.
class Spawner : public CCObject {
public:
    explicit Spawner(std::vector<std::string>* log) : m_log(log) {}
    ~Spawner() override {
        m_log->push_back("spawner");
        (new Tracked(m_log, "spawned"))->autorelease();
    }

private:
    std::vector<std::string>* m_log;
};

class Initialised : public CCObject {
public:
    static bool shouldSucceed;
    bool init() { return shouldSucceed; }
    CREATE_FUNC(Initialised);
};
bool Initialised::shouldSucceed = true;

class PoolTest : public ::testing::Test {
protected:
    // Each test starts with no pending autoreleased objects.
    void SetUp() override { CCPoolManager::sharedPoolManager()->finalize(); }
    void TearDown() override { CCPoolManager::sharedPoolManager()->finalize(); }
    void endFrame() { CCPoolManager::sharedPoolManager()->pop(); }

    std::vector<std::string> destroyed;
};

} // namespace

TEST_F(PoolTest, ReferenceCountStartsAtOneAndDeletesAtZero) {
    Tracked* object = new Tracked(&destroyed);
    EXPECT_EQ(object->retainCount(), 1u);
    object->retain();
    EXPECT_EQ(object->retainCount(), 2u);
    object->release();
    EXPECT_TRUE(destroyed.empty());
    object->release();
    EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(PoolTest, AutoreleasedObjectLivesUntilTheFrameEnds) {
    Tracked* object = new Tracked(&destroyed, "a");
    object->autorelease();
    EXPECT_EQ(object->retainCount(), 1u);
    EXPECT_TRUE(object->isInAutoreleasePool());
    EXPECT_TRUE(destroyed.empty());
    endFrame();
    EXPECT_EQ(destroyed, std::vector<std::string>{"a"});
}

TEST_F(PoolTest, RetainedAutoreleasedObjectSurvivesThePop) {
    Tracked* object = new Tracked(&destroyed, "kept");
    object->autorelease();
    object->retain();
    endFrame();
    EXPECT_TRUE(destroyed.empty());
    EXPECT_EQ(object->retainCount(), 1u);
    EXPECT_FALSE(object->isInAutoreleasePool());
    // A second frame end must not release it again.
    endFrame();
    EXPECT_TRUE(destroyed.empty());
    object->release();
    EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(PoolTest, EachAutoreleaseReleasesOnce) {
    Tracked* object = new Tracked(&destroyed);
    object->retain();
    object->autorelease();
    object->autorelease();
    endFrame();
    EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(PoolTest, NestedPoolReleasesOnlyItsOwnObjects) {
    (new Tracked(&destroyed, "outer"))->autorelease();
    CCPoolManager::sharedPoolManager()->push();
    (new Tracked(&destroyed, "inner"))->autorelease();
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(destroyed, std::vector<std::string>{"inner"});
    endFrame();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"inner", "outer"}));
}

TEST_F(PoolTest, ObjectsAutoreleasedWhileClearingWaitForTheNextFrame) {
    (new Spawner(&destroyed))->autorelease();
    endFrame();
    EXPECT_EQ(destroyed, std::vector<std::string>{"spawner"});
    endFrame();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"spawner", "spawned"}));
}

TEST_F(PoolTest, ObjectsAutoreleasedWhileANestedPoolClearsMoveDown) {
    CCPoolManager::sharedPoolManager()->push();
    (new Spawner(&destroyed))->autorelease();
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(destroyed, std::vector<std::string>{"spawner"});
    endFrame();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"spawner", "spawned"}));
}

TEST_F(PoolTest, DeletingAPooledObjectDirectlyDoesNotLeaveADanglingEntry) {
    Tracked* object = new Tracked(&destroyed);
    object->autorelease();
    delete object;
    EXPECT_EQ(CCPoolManager::sharedPoolManager()->getCurReleasePool()->count(), 0u);
    endFrame();
    EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(PoolTest, FinalizeReleasesEverythingAndTheManagerStaysUsable) {
    (new Spawner(&destroyed))->autorelease();
    CCPoolManager::sharedPoolManager()->push();
    (new Tracked(&destroyed, "inner"))->autorelease();
    CCPoolManager::sharedPoolManager()->finalize();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"inner", "spawner", "spawned"}));
    (new Tracked(&destroyed, "later"))->autorelease();
    endFrame();
    EXPECT_EQ(destroyed.back(), "later");
}

TEST_F(PoolTest, CreateFuncAutoreleasesOrGivesNull) {
    Initialised::shouldSucceed = true;
    Initialised* made = Initialised::create();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->retainCount(), 1u);
    EXPECT_TRUE(made->isInAutoreleasePool());
    Initialised::shouldSucceed = false;
    EXPECT_EQ(Initialised::create(), nullptr);
    Initialised::shouldSucceed = true;

    CCObject* held = new CCObject();
    CC_SAFE_RETAIN(held);
    CC_SAFE_RELEASE(held);
    CC_SAFE_RELEASE_NULL(held);
    EXPECT_EQ(held, nullptr);
}

TEST_F(PoolTest, ArrayRetainsKeepsOrderAndReleases) {
    CCArray* array = new CCArray();
    Tracked* a = new Tracked(&destroyed, "a");
    Tracked* b = new Tracked(&destroyed, "b");
    Tracked* c = new Tracked(&destroyed, "c");
    array->addObject(a);
    array->addObject(c);
    array->insertObject(b, 1);
    array->addObject(nullptr);
    EXPECT_EQ(array->count(), 3u);
    EXPECT_EQ(a->retainCount(), 2u);
    a->release();
    b->release();
    c->release();
    EXPECT_TRUE(destroyed.empty());

    std::vector<CCObject*> seen;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(array, item) {
        seen.push_back(item);
    }
    EXPECT_EQ(seen, (std::vector<CCObject*>{a, b, c}));
    EXPECT_EQ(array->indexOfObject(c), 2u);
    EXPECT_EQ(array->objectAtIndex(3), nullptr);
    EXPECT_EQ(array->indexOfObject(nullptr), CC_INVALID_INDEX);

    array->removeObjectAtIndex(0);
    EXPECT_EQ(destroyed, std::vector<std::string>{"a"});
    array->removeObjectAtIndex(7); // out of range: nothing happens
    array->insertObject(new Tracked(&destroyed, "d"), 99);
    array->lastObject()->release();
    EXPECT_EQ(array->count(), 3u);
    EXPECT_EQ(array->objectAtIndex(0), b);

    array->release();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(PoolTest, ArrayCopiesAndSelfAppends) {
    CCArray* array = CCArray::create();
    CCString* one = CCString::create("1");
    array->addObject(one);
    array->addObjectsFromArray(array);
    EXPECT_EQ(array->count(), 2u);
    EXPECT_EQ(one->retainCount(), 3u);
    CCArray* copy = CCArray::createWithArray(array);
    EXPECT_TRUE(copy->isEqualToArray(array));
    copy->removeObject(one);
    EXPECT_EQ(copy->count(), 1u);
    EXPECT_FALSE(copy->isEqualToArray(array));
    endFrame();
}

TEST_F(PoolTest, DictionaryStoresByTextKey) {
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(CCString::create("kPauseButton"), "action");
    dictionary->setObject(CCString::create("2.5"), "scale-x");
    EXPECT_STREQ(dictionary->valueForKey("action")->getCString(), "kPauseButton");
    EXPECT_FLOAT_EQ(dictionary->valueForKey("scale-x")->floatValue(), 2.5f);
    // A missing key reads as an empty text, never as null.
    ASSERT_NE(dictionary->valueForKey("missing"), nullptr);
    EXPECT_STREQ(dictionary->valueForKey("missing")->getCString(), "");
    EXPECT_EQ(dictionary->objectForKey("missing"), nullptr);
    // A value that is not a text reads as empty through valueForKey.
    dictionary->setObject(CCArray::create(), "list");
    EXPECT_STREQ(dictionary->valueForKey("list")->getCString(), "");
    endFrame();
}

TEST_F(PoolTest, DictionaryReplacesReleasesAndIteratesInOrder) {
    CCDictionary* dictionary = new CCDictionary();
    Tracked* first = new Tracked(&destroyed, "first");
    dictionary->setObject(first, "k");
    first->release();
    dictionary->setObject(new Tracked(&destroyed, "second"), "k");
    EXPECT_EQ(destroyed, std::vector<std::string>{"first"});
    dictionary->objectForKey("k")->release(); // the dictionary keeps the only reference
    dictionary->setObject(CCString::create("b"), "b");
    dictionary->setObject(CCString::create("a"), "a");
    EXPECT_EQ(dictionary->count(), 3u);

    std::vector<std::string> keys;
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(dictionary, element) {
        keys.push_back(element->getStrKey());
        if (keys.back() == "b")
            dictionary->removeObjectForKey("b"); // removing the current element is allowed
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"k", "b", "a"}));
    EXPECT_EQ(dictionary->count(), 2u);

    CCArray* all = dictionary->allKeys();
    ASSERT_EQ(all->count(), 2u);
    EXPECT_STREQ(static_cast<CCString*>(all->objectAtIndex(0))->getCString(), "k");
    EXPECT_STREQ(static_cast<CCString*>(all->objectAtIndex(1))->getCString(), "a");

    dictionary->release();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"first", "second"}));
    endFrame();
}

TEST_F(PoolTest, SetRetainsEachObjectOnce) {
    CCSet* set = new CCSet();
    Tracked* touch = new Tracked(&destroyed, "touch");
    set->addObject(touch);
    set->addObject(touch);
    set->addObject(nullptr);
    EXPECT_EQ(set->count(), 1);
    EXPECT_EQ(touch->retainCount(), 2u);
    CCSet* copy = set->copy();
    EXPECT_EQ(touch->retainCount(), 3u);
    touch->release();
    set->removeObject(touch);
    EXPECT_TRUE(destroyed.empty());
    EXPECT_EQ(set->anyObject(), nullptr);
    EXPECT_EQ(copy->anyObject(), touch);
    copy->release();
    EXPECT_EQ(destroyed, std::vector<std::string>{"touch"});
    set->release();
}

TEST_F(PoolTest, BoxedNumbersCompareByValue) {
    CCArray* values =
        CCArray::create(CCInteger::create(3), CCFloat::create(0.5f), CCBool::create(true), nullptr);
    ASSERT_EQ(values->count(), 3u);
    EXPECT_EQ(static_cast<CCInteger*>(values->objectAtIndex(0))->getValue(), 3);
    EXPECT_TRUE(values->objectAtIndex(0)->isEqual(CCInteger::create(3)));
    EXPECT_FALSE(values->objectAtIndex(0)->isEqual(CCFloat::create(3)));
    EXPECT_TRUE(static_cast<CCBool*>(values->objectAtIndex(2))->getValue());
    endFrame();
}
