// Shapes for the light suites: physics fixtures owned by a plain object that does or does not
// block light (the light asks the object behind each fixture), and light models set up attribute
// by attribute.
#pragma once

#include <memory>
#include <vector>

#include <box2d/box2d.h>

#include "cocos2d.h"
#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelObjectLight.h"
#include "model/classes/KXModelQueries.h"
#include "player/objects/KXPObject.h"
#include "player/physics/KXPBodyData.h"
#include "support/model_class_helpers.h"

namespace kxtest {

// A static body with one fixture; the body goes with the object. Positions and sizes are given
// in points (20 per metre), as objects are placed.
class LightBlocker : public KXPObject {
public:
    LightBlocker(b2World& world, bool blocks) : KXPObject(nullptr), m_world(world), m_blocks(blocks) {
        init();
    }
    ~LightBlocker() override {
        if (m_body != nullptr) {
            m_world.DestroyBody(m_body);
        }
    }
    bool blocksLight() override { return m_blocks; }

    void addShape(const cocos2d::CCPoint& centre, float angleDegrees, const b2Shape& shape, bool sensor) {
        b2BodyDef body;
        body.position.Set(centre.x * 0.05f, centre.y * 0.05f);
        body.angle = angleDegrees * 0.017453292f;
        m_body = m_world.CreateBody(&body);
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.isSensor = sensor;
        KXPBodyData::setNode(fixture, this);
        m_body->CreateFixture(&fixture);
        KXPBodyData::setNode(m_body, this);
    }

private:
    b2World& m_world;
    bool m_blocks;
};

// The blockers of one test, released before their world goes.
class Blockers {
public:
    explicit Blockers(b2World& world) : m_world(world) {}
    ~Blockers() {
        for (LightBlocker* blocker : m_blockers) {
            blocker->release();
        }
    }
    Blockers(const Blockers&) = delete;
    Blockers& operator=(const Blockers&) = delete;

    LightBlocker* box(const cocos2d::CCPoint& centre, const cocos2d::CCSize& size, float angleDegrees = 0.0f,
                      bool blocks = true, bool sensor = false) {
        b2PolygonShape shape;
        shape.SetAsBox(size.width * 0.025f, size.height * 0.025f);
        return add(centre, angleDegrees, shape, blocks, sensor);
    }
    LightBlocker* circle(const cocos2d::CCPoint& centre, float radius, bool blocks = true,
                         bool sensor = false) {
        b2CircleShape shape;
        shape.m_radius = radius * 0.05f;
        return add(centre, 0.0f, shape, blocks, sensor);
    }
    // A regular polygon of `sides` corners (at most 8) around the centre.
    LightBlocker* regular(const cocos2d::CCPoint& centre, float radius, int sides) {
        std::vector<b2Vec2> corners;
        for (int index = 0; index < sides; ++index) {
            const float angle = 6.2831853f * static_cast<float>(index) / static_cast<float>(sides);
            corners.emplace_back(radius * 0.05f * std::cos(angle), radius * 0.05f * std::sin(angle));
        }
        b2PolygonShape shape;
        shape.Set(corners.data(), static_cast<int32>(corners.size()));
        return add(centre, 0.0f, shape, true, false);
    }

private:
    LightBlocker* add(const cocos2d::CCPoint& centre, float angleDegrees, const b2Shape& shape, bool blocks,
                      bool sensor) {
        LightBlocker* blocker = new LightBlocker(m_world, blocks);
        blocker->addShape(centre, angleDegrees, shape, sensor);
        m_blockers.push_back(blocker);
        return blocker;
    }

    b2World& m_world;
    std::vector<LightBlocker*> m_blockers;
};

// A registered light model: radius in metres, colour components 0..255.
inline std::shared_ptr<KXModelObjectLight> lightModel(float radius, const cocos2d::ccColor4F& colour,
                                                      bool castShadow) {
    std::shared_ptr<KXModelObjectLight> light = createModel<KXModelObjectLight>();
    attributeOf<KXAttributeFloat>(*light, "Radius")->setValue(radius);
    attributeOf<KXAttributeColor>(*light, "Color")->setValue(colour);
    attributeOf<KXAttributeBool>(*light, "Cast Shadow")->setValue(castShadow);
    return light;
}

} // namespace kxtest
