#pragma once

// The base of every placed runtime object of a level or screen: an engine node built from an
// object model, with a state (and a state change deferred out of physics callbacks), object-type
// flags, an optional physics body, the layer it is placed in, and owned behaviour components.

#include "cocos2d.h"
#include "player/base/KXPNodeKinds.h"
#include "player/physics/KXPBodyOwner.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <memory>
#include <vector>

class KXBaseModelObject;
class KXComponent;
class KXComponentHealth;

class KXPObject : public cocos2d::CCNode, public KXPBodyOwner {
public:
    CC_NODE_KIND(KXPObject, kKXPNodeObject);

    // Object-type flags (getType); a concrete class sets its own in its constructor.
    enum Type : uint32_t {
        kTypeCharacter = 1,
        kTypeUnit = 2,
        kTypePowerup = 4,
        kTypeBackgroundLayer = 8,
        kTypeSpawnedCopy = 16,
        kTypeEffect = 32,
        kTypeText = 64,
        kTypeLogic = 128,
        kTypeTeleport = 256,
        kTypeCarriedByPath = 512,
        kTypeGroup = 1024,
        kTypeMirror = 2048,
    };
    // States 1 to 3 belong to the kinds; these are shared by all.
    static constexpr int32_t kStateActive = 0;
    static constexpr int32_t kStateDead = 4;
    static constexpr int32_t kStateRemoved = 5;
    static constexpr int32_t kNoPendingState = -1;

    explicit KXPObject(const std::shared_ptr<KXBaseModelObject>& model);
    // Deletes the components; the model is released with the object.
    ~KXPObject() override;

    // Pending state, then components, then children (state-5 children leave after the pass),
    // then visibility from isOnScreen.
    void update(float dt) override;

    virtual void resetComponents();
    // A checkpoint restore; nothing here.
    virtual void restoreInitialState();
    // Stores the state and tells every component.
    virtual void setState(int32_t state);
    // A 100 x 100 box around the object (and its parent's offset unless the parent is the layer).
    virtual cocos2d::CCRect boundingRect();
    virtual void wakeUp();
    // The broad-phase box of the body's first fixture; a zero box without one.
    virtual b2AABB getAABB();
    // The type of the body once the object is set moving (its body's now; a unit that is woken
    // later says what it becomes).
    virtual b2BodyType bodyTypeInMotion() const;
    virtual void setSpawner(bool spawner);
    virtual void setObjectLayer(cocos2d::CCNode* layer);
    virtual void setType(uint32_t flags);
    virtual void setOpacityFactor(float factor);
    virtual bool isOnScreen();
    virtual bool blocksLight();
    virtual void setMovementEnabled(bool enabled);
    // The game field switches an object's control off while it builds the object's level section
    // (or link) and on once the whole of it exists; a kind that acts on its own (a character
    // jumping, pushing its control joint) waits for it.
    virtual void setControlActive(bool active) { m_controlActive = active; }

    std::shared_ptr<KXBaseModelObject> getModel() const { return m_model; }
    int32_t getState() const { return m_state; }
    uint32_t getType() const { return m_type; }
    bool isSpawner() const { return m_spawner; }
    bool isAwake() const { return m_awake; }
    b2Body* getBody() const { return m_body; }
    cocos2d::CCNode* getObjectLayer() const { return m_layer; }
    float getOpacityFactor() const { return m_opacityFactor; }
    bool isMovementEnabled() const { return m_movementEnabled; }
    bool isControlActive() const { return m_controlActive; }
    // Counts the runtime objects made in this run, in the order they were made: traces name objects
    // by it, since the engine's object ids also count sounds whose ends come on the mixer's clock.
    uint32_t traceId() const { return m_traceId; }
    // KXPBodyOwner: its model's name and id; true the first time only (the physics refused this
    // object's body a place or a motion, said once for the object).
    std::string physicsName() const override;
    unsigned int physicsModelId() const override;
    bool firstPhysicsRefusal() override {
        const bool first = !m_physicsRefusalSaid;
        m_physicsRefusalSaid = true;
        return first;
    }
    // Tells every component.
    void fixtureGoing(b2Fixture* fixture) override;

    // Applied at the start of the next update; a later request in the same frame wins. Physics
    // callbacks use it, as a state change there may not remove bodies or nodes.
    void setPendingState(int32_t state) { m_pendingState = state; }
    int32_t getPendingState() const { return m_pendingState; }

    std::vector<KXComponent*> components() const { return m_components; }
    // The first health component, or null.
    KXComponentHealth* healthComponent() const;
    // Carries the enabled flags of `other`'s components over to this object's components at the
    // same places in the list (a move component keeps its body's motion); only the common part
    // of the two lists is touched.
    void copyComponentStates(KXPObject* other);

    // The z-order under which this object sits on the game field: the z-order of the node just
    // below the game-field camera on the way up through objects and animations; 0 when the way
    // up meets anything else first.
    int fieldZOrder();
    // The same walk for any node (animations start it at themselves).
    static int fieldZOrderOf(cocos2d::CCNode* node);

protected:
    // Takes ownership and makes this object the component's owner.
    void attachComponent(KXComponent* component);

    std::shared_ptr<KXBaseModelObject> m_model;
    int32_t m_state = kStateActive;
    uint32_t m_type = 0;
    bool m_spawner = false;
    bool m_awake = false;
    b2Body* m_body = nullptr;
    cocos2d::CCNode* m_layer = nullptr;
    float m_opacityFactor = 1.0f;
    std::vector<KXComponent*> m_components;
    int32_t m_pendingState = kNoPendingState;
    bool m_movementEnabled = true;
    bool m_controlActive = true;
    bool m_physicsRefusalSaid = false;
    uint32_t m_traceId;
};
