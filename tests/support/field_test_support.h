// Stand-ins for the game-field suites: a playable character that records what the input side
// asks of it, and an object that owns a Box2D body and notes whether the world was locked when
// its body was made and destroyed.
#pragma once

#include <box2d/box2d.h>

#include <functional>

#include <string>
#include <vector>

#include "cocos2d.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/objects/KXPObject.h"

namespace kxtest {

class FakeCharacter : public KXPObject, public KXPControlledCharacter {
public:
    static FakeCharacter* create(const cocos2d::CCPoint& position = cocos2d::CCPointZero) {
        FakeCharacter* character = new FakeCharacter();
        character->init();
        character->setPosition(position);
        character->autorelease();
        return character;
    }

    FakeCharacter() : KXPObject(nullptr) { setType(kTypeCharacter); }

    KXPObject* characterObject() override { return this; }
    void setDirection(const cocos2d::CCPoint& value) override { directions.push_back(value); }
    void jump() override { calls.push_back("jump"); }
    void endJump() override { calls.push_back("endJump"); }
    void startLeftLean() override { calls.push_back("startLeftLean"); }
    void stopLeftLean() override { calls.push_back("stopLeftLean"); }
    void startRightLean() override { calls.push_back("startRightLean"); }
    void stopRightLean() override { calls.push_back("stopRightLean"); }
    void setLeanStrength(float strength) override { leanStrength = strength; }
    void setShooting(bool shooting) override { calls.push_back(shooting ? "shoot" : "stopShooting"); }
    void moveBy(float x, float y) override { moves.push_back(cocos2d::CCPoint(x, y)); }
    void setAxisX(float) override {}
    void setAxisY(float) override {}
    void clearActivePowerups() override { calls.push_back("clearActivePowerups"); }
    bool isDirectMovement() override {
        ++movementQueries;
        return direct;
    }
    cocos2d::CCPoint getControlPosition() override { return control; }
    void setControlPosition(const cocos2d::CCPoint& position) override { control = position; }
    void setBodyPosition(float x, float y) override {
        bodyPlacements.push_back(cocos2d::CCPoint(x, y));
        setPosition(x, y);
    }
    void update(float dt) override { updates.push_back(dt); }

    cocos2d::CCPoint direction() const {
        return directions.empty() ? cocos2d::CCPointZero : directions.back();
    }

    bool direct = false;
    int movementQueries = 0;
    float leanStrength = 1.0f;
    cocos2d::CCPoint control;
    std::vector<cocos2d::CCPoint> directions;
    std::vector<cocos2d::CCPoint> moves;
    std::vector<cocos2d::CCPoint> bodyPlacements;
    std::vector<std::string> calls;
    std::vector<float> updates;
};

// Whether the world was locked at each body change the game field caused.
struct WorldEditLog {
    std::vector<std::string> edits;
    int locked = 0;
    void note(b2World* world, const std::string& what) {
        edits.push_back(what);
        if (world->IsLocked()) {
            ++locked;
        }
    }
};

// An object with a dynamic circle body (radius in points); the body goes with the object.
class BodyObject : public KXPObject {
public:
    static BodyObject* create(b2World* world, const cocos2d::CCPoint& position, float radius, uint32_t type,
                              WorldEditLog* log = nullptr) {
        BodyObject* object = new BodyObject(world, log);
        object->init();
        object->setType(type);
        object->setPosition(position);
        object->makeBody(position, radius);
        object->autorelease();
        return object;
    }

    BodyObject(b2World* world, WorldEditLog* log) : KXPObject(nullptr), m_world(world), m_log(log) {}
    ~BodyObject() override {
        if (m_body != nullptr) {
            if (m_log != nullptr) {
                m_log->note(m_world, "destroy body");
            }
            m_world->DestroyBody(m_body);
        }
    }

    void makeBody(const cocos2d::CCPoint& position, float radius) {
        if (m_log != nullptr) {
            m_log->note(m_world, "create body");
        }
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(position.x * 0.05f, position.y * 0.05f);
        m_body = m_world->CreateBody(&def);
        b2CircleShape circle;
        circle.m_radius = radius * 0.05f;
        m_body->CreateFixture(&circle, 1.0f);
        m_body->GetUserData().pointer = reinterpret_cast<uintptr_t>(this);
    }

    // Follows its body, like the asset objects do.
    void update(float dt) override {
        if (m_body != nullptr) {
            setPosition(m_body->GetPosition().x / 0.05f, m_body->GetPosition().y / 0.05f);
        }
        if (onUpdate) {
            onUpdate(this);
        }
        updates.push_back(dt);
        if (m_pendingState != kNoPendingState) {
            const int32_t pending = m_pendingState;
            m_pendingState = kNoPendingState;
            setState(pending);
        }
    }

    b2World* world() const { return m_world; }
    std::function<void(BodyObject*)> onUpdate;
    std::vector<float> updates;

private:
    b2World* m_world;
    WorldEditLog* m_log;
};

} // namespace kxtest
