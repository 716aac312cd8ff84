// Asset objects on a real Box2D world, stepped the way the game field steps it: each frame one
// world step of 1/60 s (6 velocity and 6 position iterations), then one update of every object
// on the layer, after which removed objects (state 5) leave the layer.
#pragma once

#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/field/KXPContactListener.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace kxtest {

constexpr float kFrame = 1.0f / 60.0f;

// An asset object whose kind-set fields a test chooses, with the hooks a kind would have.
class TestAsset : public KXPObjectAsset {
public:
    static TestAsset* make(const std::shared_ptr<KXModelObjectAsset>& model) {
        TestAsset* object = new TestAsset(model);
        object->autorelease();
        return object;
    }
    explicit TestAsset(const std::shared_ptr<KXModelObjectAsset>& model) : KXPObjectAsset(model) {}

    void setCollisionType(int type) { m_collisionType = type; }
    void setDestroyMode(int mode) { m_destroyMode = mode; }
    void setSleepType(int type) { m_sleepType = type; }
    void setLinearMovement(bool linear) { m_linearMovement = linear; }
    void setSleepDistance(float distance) { m_sleepDistance = distance; }
    void setActivePowerups(bool active) { m_activePowerups = active; }
    void setBodyType(b2BodyType type) { m_bodyType = type; }
    void attach(KXComponent* component) { attachComponent(component); }

    // The base body, then the type a kind would give it.
    void addToWorld(b2World* world, bool skipStill) override {
        KXPObjectAsset::addToWorld(world, skipStill);
        if (m_body != nullptr && m_body->GetType() != m_bodyType && !world->IsLocked()) {
            m_body->SetType(m_bodyType);
        }
    }
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override {
        if (onBeginContact) {
            onBeginContact(*this, other);
        }
        KXPObjectAsset::beginContact(other, contact, began);
    }
    void preSolve(KXPObjectAsset* other, b2Contact* contact, const b2Manifold* oldManifold) override {
        ++preSolves;
        KXPObjectAsset::preSolve(other, contact, oldManifold);
    }
    void setState(int32_t state) override {
        if (onSetState) {
            onSetState(*this, state);
        }
        KXPObjectAsset::setState(state);
    }
    float sleepDistance() override { return m_sleepDistance; }
    bool hasActivePowerups() override { return m_activePowerups; }

    std::function<void(TestAsset&, KXPObjectAsset*)> onBeginContact;
    std::function<void(TestAsset&, int32_t)> onSetState;
    int preSolves = 0;

private:
    float m_sleepDistance = 0.0f;
    bool m_activePowerups = false;
    b2BodyType m_bodyType = b2_staticBody;
};

// A placed asset object model whose asset's collision shape is a box of that size around the
// object's origin.
inline std::shared_ptr<KXModelObjectAsset> boxAssetModel(const cocos2d::CCSize& size = cocos2d::CCSize(40,
                                                                                                       40)) {
    std::shared_ptr<KXModelAsset> asset = createModel<KXModelAsset>();
    asset->setCollisionBox(size, cocos2d::CCPointZero);
    std::shared_ptr<KXModelObjectAsset> object = createModel<KXModelObjectAsset>();
    object->setAsset(asset);
    return object;
}

// The world without gravity, its contact listener and the object layer.
class AssetWorld {
public:
    AssetWorld() : world(b2Vec2(0.0f, 0.0f)), layer(cocos2d::CCNode::create()) {
        layer->retain();
        world.SetContactListener(&listener);
    }
    // The objects go before the world (their destructors destroy their bodies in it), also
    // those still waiting in the autorelease pool.
    ~AssetWorld() {
        layer->removeAllChildrenWithCleanup(true);
        layer->release();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    }
    AssetWorld(const AssetWorld&) = delete;
    AssetWorld& operator=(const AssetWorld&) = delete;

    // Placed at `position` on the layer and given its body.
    TestAsset* place(const std::shared_ptr<KXModelObjectAsset>& model, const cocos2d::CCPoint& position,
                     const std::function<void(TestAsset&)>& setUp = nullptr) {
        TestAsset* object = TestAsset::make(model);
        object->setPosition(position);
        if (setUp) {
            setUp(*object);
        }
        layer->addChild(object);
        object->setObjectLayer(layer);
        object->addToWorld(&world, false);
        return object;
    }

    // Any asset object, placed at `position` on the layer and given its body as the game field
    // gives it (still decorations skipped unless told otherwise).
    template <class T> T* add(T* object, const cocos2d::CCPoint& position, bool skipStill = true) {
        object->setPosition(position);
        layer->addChild(object);
        object->setObjectLayer(layer);
        object->addToWorld(&world, skipStill);
        return object;
    }

    void frame() {
        world.Step(kFrame, 6, 6);
        std::vector<cocos2d::CCNode*> children;
        cocos2d::CCObject* item = nullptr;
        CCARRAY_FOREACH(layer->getChildren(), item) {
            children.push_back(static_cast<cocos2d::CCNode*>(item));
            children.back()->retain();
        }
        for (cocos2d::CCNode* child : children) {
            child->update(kFrame);
        }
        for (cocos2d::CCNode* child : children) {
            KXPObject* object = dynamic_cast<KXPObject*>(child);
            if (object != nullptr && object->getState() == KXPObject::kStateRemoved &&
                child->getParent() == layer) {
                layer->removeChild(child, true);
            }
            child->release();
        }
        // As the director does at the end of every frame.
        cocos2d::CCPoolManager::sharedPoolManager()->pop();
        ++frames;
    }
    void run(int count) {
        for (int index = 0; index < count; ++index) {
            frame();
        }
    }

    b2World world;
    KXPContactListener listener;
    cocos2d::CCNode* layer;
    int frames = 0;
};

// Every asset test starts from an empty store and known gameplay values: no drag, friction 0.3,
// restitution 0.25, the gameplay direction along +x.
class AssetTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        resetModelCore();
        KXPGameplaySettings* values = KXPGameplaySettings::shared();
        m_saved = {values->getVelocityScale(), values->getFriction(), values->getRestitution(),
                   values->getGameplayAngleDirection()};
        values->setVelocityScale(1.0f);
        values->setFriction(0.3f);
        values->setRestitution(0.25f);
        values->setGameplayAngleDirection(0.0f);
    }
    // The shared record goes back as it was, for suites that run after this one in one process.
    void TearDown() override {
        KXPGameplaySettings* values = KXPGameplaySettings::shared();
        values->setVelocityScale(m_saved[0]);
        values->setFriction(m_saved[1]);
        values->setRestitution(m_saved[2]);
        values->setGameplayAngleDirection(m_saved[3]);
        // Objects updated ask for the shared input controller, which made one.
        KXPInputController::purgeShared();
        resetModelCore();
        SceneTest::TearDown();
    }

private:
    std::array<float, 4> m_saved{};
};

} // namespace kxtest
