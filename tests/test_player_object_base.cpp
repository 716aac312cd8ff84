// The runtime object base: the order of a frame's work (pending state, components, children,
// removals, visibility), the on-screen test against the gameplay thresholds, the physics box,
// component bookkeeping and the z-order an object has on the game field.

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/components/KXComponentHealth.h"
#include "player/components/KXComponentMove.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/KXPObject.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace cocos2d;

namespace {

// Writes what it is asked to do, with the owner's state at that moment.
class RecordingComponent : public KXComponent {
public:
    RecordingComponent(kxtest::EventLog& log, std::string name, bool* deleted = nullptr)
        : m_log(log), m_name(std::move(name)), m_deleted(deleted) {}
    ~RecordingComponent() override {
        if (m_deleted != nullptr) {
            *m_deleted = true;
        }
    }
    void update(float /*dt*/) override { m_log.add(m_name + ".update@" + state()); }
    void ownerStateChanged() override { m_log.add(m_name + ".stateChanged@" + state()); }
    void reset() override { m_log.add(m_name + ".reset"); }

private:
    std::string state() const { return std::to_string(owner()->getState()); }

    kxtest::EventLog& m_log;
    std::string m_name;
    bool* m_deleted;
};

// An object whose update is scripted by the test.
class TestObject : public KXPObject {
public:
    static TestObject* make(std::function<void(TestObject&)> onUpdate = nullptr) {
        TestObject* object = new TestObject(createModel<KXModelObject>(), std::move(onUpdate));
        object->autorelease();
        return object;
    }
    TestObject(const std::shared_ptr<KXModelObject>& model, std::function<void(TestObject&)> onUpdate)
        : KXPObject(model), m_onUpdate(std::move(onUpdate)) {}

    void update(float dt) override {
        ++updates;
        if (m_onUpdate) {
            m_onUpdate(*this);
        }
        KXPObject::update(dt);
    }
    void attach(KXComponent* component) { attachComponent(component); }
    void setBody(b2Body* body) { m_body = body; }

    int updates = 0;

private:
    std::function<void(TestObject&)> m_onUpdate;
};

class ObjectBase : public kxtest::SceneTest {
protected:
    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
    }
    void TearDown() override {
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    // The gameplay values take their deletion thresholds from a game scene's model.
    static void setThresholds(float back, float sides) {
        auto scene = createModel<KXModelScreenScene>();
        scene->backDeletionThresholdAttribute()->setValue(back, true);
        scene->sidesDeletionThresholdAttribute()->setValue(sides, true);
        KXPGameplaySettings::shared()->loadSceneSettings(scene.get());
    }
};

TEST_F(ObjectBase, PendingStateIsAppliedOnceBeforeTheComponentsRun) {
    TestObject* object = TestObject::make();
    object->attach(new RecordingComponent(log, "a"));
    object->attach(new RecordingComponent(log, "b"));

    object->setPendingState(1);
    object->setPendingState(3); // a later request of the same frame wins
    object->update(0.1f);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"a.stateChanged@3", "b.stateChanged@3", "a.update@3", "b.update@3"}));
    EXPECT_EQ(object->getPendingState(), KXPObject::kNoPendingState);

    log.clear();
    object->update(0.1f);
    EXPECT_EQ(log.events, (std::vector<std::string>{"a.update@3", "b.update@3"}));

    // Every setState reaches the components, also one that keeps the value.
    log.clear();
    object->setState(3);
    EXPECT_EQ(log.events, (std::vector<std::string>{"a.stateChanged@3", "b.stateChanged@3"}));
    object->resetComponents();
    EXPECT_EQ(log.events.back(), "b.reset");
}

TEST_F(ObjectBase, RemovedChildrenLeaveAfterTheWholePass) {
    TestObject* parent = TestObject::make();
    TestObject* leaving = TestObject::make([](TestObject& self) { self.setState(KXPObject::kStateRemoved); });
    bool leavingAttachedWhileSiblingsRan = true;
    TestObject* sibling = TestObject::make([&](TestObject& self) {
        leavingAttachedWhileSiblingsRan =
            leavingAttachedWhileSiblingsRan && leaving->getParent() == self.getParent();
    });
    TestObject* last = TestObject::make([&](TestObject& self) {
        leavingAttachedWhileSiblingsRan =
            leavingAttachedWhileSiblingsRan && leaving->getParent() == self.getParent();
    });
    CCNode* plain = CCNode::create();
    parent->addChild(leaving);
    parent->addChild(sibling);
    parent->addChild(plain);
    parent->addChild(last);

    parent->update(0.1f);
    EXPECT_EQ(leaving->updates, 1);
    EXPECT_EQ(sibling->updates, 1);
    EXPECT_EQ(last->updates, 1);
    EXPECT_TRUE(leavingAttachedWhileSiblingsRan);
    EXPECT_EQ(parent->getChildrenCount(), 3u);
    EXPECT_EQ(parent->getChildren()->objectAtIndex(0), sibling);
}

TEST_F(ObjectBase, AChildThatTakesARemovedSiblingDownDoesNotUpsetThePass) {
    TestObject* parent = TestObject::make();
    TestObject* leaving = TestObject::make([](TestObject& self) { self.setState(KXPObject::kStateRemoved); });
    // Takes the (already removed) sibling out of the parent itself; the sibling is freed unless
    // the pass still holds it.
    TestObject* remover = TestObject::make([&](TestObject& self) {
        if (leaving != nullptr) {
            self.getParent()->removeChild(leaving, true);
            leaving = nullptr;
        }
    });
    TestObject* added = nullptr;
    // Adds a child during the pass: it is updated in the same pass.
    TestObject* adder = TestObject::make([&](TestObject& self) {
        if (added == nullptr) {
            added = TestObject::make();
            self.getParent()->addChild(added);
        }
    });
    parent->addChild(leaving);
    parent->addChild(adder);
    parent->addChild(remover);
    // From here on the children are held by their parent only.
    parent->retain();
    CCPoolManager::sharedPoolManager()->pop();

    parent->update(0.1f);
    EXPECT_EQ(leaving, nullptr);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(remover->updates, 1);
    EXPECT_EQ(parent->getChildrenCount(), 3u); // adder, remover, added

    parent->update(0.1f);
    EXPECT_EQ(parent->getChildrenCount(), 3u);
    EXPECT_GE(added->updates, 1);
    parent->release();
}

TEST_F(ObjectBase, EveryChildIsUpdatedOnceAFrameWhateverLeavesOrComesDuringThePass) {
    TestObject* parent = TestObject::make();
    TestObject* first = TestObject::make();
    // A look that ends takes itself out of its owner.
    TestObject* ending = TestObject::make([](TestObject& self) { self.removeFromParent(); });
    TestObject* afterEnding = TestObject::make();
    // A rider that takes a sibling walked before it down with it.
    TestObject* remover = TestObject::make([&](TestObject& self) {
        if (first->getParent() != nullptr) {
            self.getParent()->removeChild(first, true);
        }
    });
    TestObject* afterRemover = TestObject::make();
    TestObject* added = nullptr;
    TestObject* adder = TestObject::make([&](TestObject& self) {
        if (added == nullptr) {
            added = TestObject::make();
            added->retain();
            self.getParent()->addChild(added);
        }
    });
    for (TestObject* child : {first, ending, afterEnding, remover, afterRemover, adder}) {
        parent->addChild(child);
    }
    first->retain();
    ending->retain();
    // From here on the children are held by their parent only.
    parent->retain();
    CCPoolManager::sharedPoolManager()->pop();

    parent->update(0.1f);
    for (TestObject* child : {first, ending, afterEnding, remover, afterRemover, adder}) {
        EXPECT_EQ(child->updates, 1);
    }
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->updates, 1) << "added during the pass, updated in it";
    EXPECT_EQ(parent->getChildrenCount(), 5u); // afterEnding, remover, afterRemover, adder, added

    parent->update(0.1f);
    EXPECT_EQ(afterEnding->updates, 2);
    EXPECT_EQ(afterRemover->updates, 2);
    EXPECT_EQ(added->updates, 2);
    EXPECT_EQ(first->updates, 1);
    EXPECT_EQ(ending->updates, 1);
    first->release();
    ending->release();
    added->release();
    parent->release();
}

TEST_F(ObjectBase, OnScreenFollowsTheLayerAndTheDeletionThresholds) {
    setThresholds(50.0f, 20.0f);
    const CCSize window = director()->getWinSize();
    CCNode* layer = CCNode::create();
    layer->setPosition(CCPoint(-1000.0f, -300.0f));
    TestObject* object = TestObject::make();
    layer->addChild(object);

    // Without a layer an object is always on screen.
    object->setPosition(CCPoint(-1.0e6f, 0.0f));
    EXPECT_TRUE(object->isOnScreen());
    object->setObjectLayer(layer);

    // The visible area in layer space starts at (1000 - 50, 300 - 20); the object's box reaches 50
    // beyond its position.
    const float left = 1000.0f - 50.0f;
    const float bottom = 300.0f - 20.0f;
    object->setPosition(CCPoint(left - 50.0f, 400.0f));
    EXPECT_TRUE(object->isOnScreen());
    object->setPosition(CCPoint(left - 51.0f, 400.0f));
    EXPECT_FALSE(object->isOnScreen());
    const float right = left + window.width + 2.0f * 50.0f;
    object->setPosition(CCPoint(right + 51.0f, 400.0f));
    EXPECT_FALSE(object->isOnScreen());
    object->setPosition(CCPoint(right + 49.0f, 400.0f));
    EXPECT_TRUE(object->isOnScreen());
    object->setPosition(CCPoint(1200.0f, bottom - 51.0f));
    EXPECT_FALSE(object->isOnScreen());
    const float top = bottom + window.height + 2.0f * 20.0f;
    object->setPosition(CCPoint(1200.0f, top + 49.0f));
    EXPECT_TRUE(object->isOnScreen());

    // The update hides an object that left the screen.
    object->setPosition(CCPoint(left - 200.0f, 400.0f));
    object->update(0.0f);
    EXPECT_FALSE(object->isVisible());

    // A visible marked child keeps it on screen wherever it is; an unmarked one does not.
    CCNode* unmarked = CCNode::create();
    object->addChild(unmarked);
    EXPECT_FALSE(object->isOnScreen());
    CCNode* marked = CCNode::create();
    marked->setTag(7);
    object->addChild(marked);
    EXPECT_TRUE(object->isOnScreen());
    marked->setVisible(false);
    EXPECT_FALSE(object->isOnScreen());
}

TEST_F(ObjectBase, TheBoxCountsTheParentOffsetUnlessTheParentIsTheLayer) {
    CCNode* layer = CCNode::create();
    TestObject* group = TestObject::make();
    group->setPosition(CCPoint(300.0f, 40.0f));
    TestObject* object = TestObject::make();
    object->setPosition(CCPoint(10.0f, 20.0f));
    group->addChild(object);
    layer->addChild(group);
    object->setObjectLayer(layer);
    group->setObjectLayer(layer);

    EXPECT_TRUE(object->boundingRect().equals(CCRect(260.0f, 10.0f, 100.0f, 100.0f)));
    EXPECT_TRUE(group->boundingRect().equals(CCRect(250.0f, -10.0f, 100.0f, 100.0f)));
}

TEST_F(ObjectBase, PhysicsBoxIsTheFirstFixturesAndZeroWithoutAnEnabledBody) {
    TestObject* object = TestObject::make();
    b2AABB box = object->getAABB();
    EXPECT_EQ(box.lowerBound.x, 0.0f);
    EXPECT_EQ(box.upperBound.y, 0.0f);

    b2World world(b2Vec2(0.0f, -10.0f));
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    definition.position.Set(3.0f, 4.0f);
    b2Body* body = world.CreateBody(&definition);
    b2PolygonShape shape;
    shape.SetAsBox(1.0f, 2.0f);
    body->CreateFixture(&shape, 1.0f);
    object->setBody(body);

    box = object->getAABB();
    EXPECT_NEAR(box.lowerBound.x, 2.0f, 0.02f);
    EXPECT_NEAR(box.lowerBound.y, 2.0f, 0.02f);
    EXPECT_NEAR(box.upperBound.x, 4.0f, 0.02f);
    EXPECT_NEAR(box.upperBound.y, 6.0f, 0.02f);

    // A disabled body has left the broad phase.
    body->SetEnabled(false);
    box = object->getAABB();
    EXPECT_EQ(box.upperBound.x, 0.0f);
    object->setBody(nullptr);
}

TEST_F(ObjectBase, ComponentsAreOwnedAndTheirStatesCarryOverByPlace) {
    bool deleted = false;
    TestObject* source = TestObject::make();
    RecordingComponent* on1 = new RecordingComponent(log, "s1");
    RecordingComponent* off = new RecordingComponent(log, "s2");
    RecordingComponent* on2 = new RecordingComponent(log, "s3");
    source->attach(on1);
    source->attach(off);
    source->attach(on2);
    on1->setEnabled(true);
    on2->setEnabled(true);

    TestObject* target = new TestObject(createModel<KXModelObject>(), nullptr);
    KXComponentMove* move = new KXComponentMove();
    RecordingComponent* second = new RecordingComponent(log, "t2", &deleted);
    KXComponentHealth* health = new KXComponentHealth();
    RecordingComponent* extra = new RecordingComponent(log, "t4");
    target->attach(move);
    target->attach(second);
    target->attach(health);
    target->attach(extra);
    second->setEnabled(true);
    extra->setEnabled(true);
    EXPECT_EQ(target->healthComponent(), health);
    EXPECT_EQ(source->healthComponent(), nullptr);
    EXPECT_EQ(move->owner(), target);

    target->copyComponentStates(source);
    EXPECT_TRUE(move->isEnabled());
    EXPECT_FALSE(second->isEnabled());
    EXPECT_TRUE(health->isEnabled());
    EXPECT_TRUE(extra->isEnabled()); // beyond the source's list: untouched

    // Death stops the mover, and a dead owner's mover cannot be switched on again by copying.
    target->setState(KXPObject::kStateDead);
    EXPECT_FALSE(move->isEnabled());
    for (KXComponent* component : source->components()) {
        component->setEnabled(true);
    }
    target->copyComponentStates(source);
    EXPECT_FALSE(move->isEnabled());
    EXPECT_TRUE(health->isEnabled());

    target->release();
    EXPECT_TRUE(deleted);
}

TEST_F(ObjectBase, FieldZOrderIsTheOneOfTheNodeJustBelowTheCamera) {
    KXPGameFieldCamera* camera = KXPGameFieldCamera::create();
    TestObject* top = TestObject::make();
    camera->addChild(top, 7);
    KXPAnimationObject* animation = new KXPAnimationObject(nullptr, top, false);
    animation->autorelease();
    top->addChild(animation, 2);
    TestObject* nested = TestObject::make();
    animation->addChild(nested, -3);
    TestObject* deeper = TestObject::make();
    nested->addChild(deeper, 9);

    EXPECT_EQ(deeper->fieldZOrder(), 7);
    EXPECT_EQ(nested->fieldZOrder(), 7);
    EXPECT_EQ(animation->fieldZOrder(), 7);
    EXPECT_EQ(top->fieldZOrder(), 7);

    // Any other node on the way up, or no camera at all, gives 0.
    CCNode* plain = CCNode::create();
    camera->addChild(plain, 4);
    TestObject* underPlain = TestObject::make();
    plain->addChild(underPlain, 5);
    EXPECT_EQ(underPlain->fieldZOrder(), 0);
    TestObject* loose = TestObject::make();
    EXPECT_EQ(loose->fieldZOrder(), 0);
}

} // namespace
