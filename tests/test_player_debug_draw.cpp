// The physics debug draw on an offscreen GL context: filled shapes and their outlines at 20
// pixels per metre, the draw calls each shape takes, and the transform that draws nothing.

#include "player/base/KXPColorSprite.h"
#include "player/field/GLESDebugDraw.h"
#include "renderer/ccDrawCounter.h"
#include "support/render_test_support.h"

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <functional>

using namespace cocos2d;

namespace {

// A node whose drawing is whatever the test asks for, in the node's space.
class DrawingNode : public CCNode {
public:
    static DrawingNode* create(std::function<void()> drawing) {
        auto* node = new DrawingNode();
        node->init();
        node->m_drawing = std::move(drawing);
        node->autorelease();
        return node;
    }
    void draw() override { m_drawing(); }

private:
    std::function<void()> m_drawing;
};

class DebugDraw : public kxtest::RenderTest {
protected:
    // Draw calls the drawing took.
    unsigned int drawsOf(const std::function<void()>& drawing) {
        unsigned int draws = 0;
        render({DrawingNode::create([&] {
            const unsigned int before = g_uNumberOfDraws;
            drawing();
            draws = g_uNumberOfDraws - before;
        })});
        return draws;
    }
};

TEST_F(DebugDraw, AWorldsShapesAreFilledAndOutlinedAtTwentyPixelsPerMetre) {
    b2World world(b2Vec2(0.0f, 0.0f));
    b2BodyDef def;
    def.position.Set(1.5f, 1.5f); // (30, 30) px
    b2Body* body = world.CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(0.5f, 0.5f); // 20 x 20 px
    body->CreateFixture(&box, 0.0f);
    GLESDebugDraw draw;
    draw.SetFlags(b2Draw::e_shapeBit);
    world.SetDebugDraw(&draw);

    render({DrawingNode::create([&] { world.DebugDraw(); })});
    const ccColor4B inside = pixel(30, 30);
    // The fill is half the shape colour at half alpha: the static green, darker.
    EXPECT_GT(inside.g, inside.r + 20);
    EXPECT_GT(inside.g, 60);
    EXPECT_LT(inside.g, 200);
    EXPECT_PIXEL(pixel(60, 60), 0, 0, 0);
    EXPECT_PIXEL(pixel(30, 45), 0, 0, 0);
    world.SetDebugDraw(nullptr);
}

TEST_F(DebugDraw, ShapesLieAboveTheSpritesDrawnBeforeThemInTheFrame) {
    CCSprite* blue = createColorSprite(CCSize(100.0f, 100.0f), ccc4(0, 0, 255, 255));
    blue->setPosition(CCPoint(50.0f, 50.0f));
    GLESDebugDraw draw;
    const b2Vec2 square[4] = {b2Vec2(1.0f, 1.0f), b2Vec2(4.0f, 1.0f), b2Vec2(4.0f, 4.0f), b2Vec2(1.0f, 4.0f)};
    render({blue, DrawingNode::create([&] { draw.DrawSolidPolygon(square, 4, b2Color(1.0f, 0.0f, 0.0f)); })});
    // The half-transparent red fill over the blue, not the blue over it.
    const ccColor4B inside = pixel(50, 50);
    EXPECT_GT(inside.r, 40);
    EXPECT_LT(inside.b, 200);
    EXPECT_PIXEL(pixel(90, 90), 0, 0, 255);
}

TEST_F(DebugDraw, EachShapeTakesItsDrawCallsAndTheTransformNone) {
    GLESDebugDraw draw;
    const b2Color red(1.0f, 0.0f, 0.0f);
    const b2Vec2 triangle[3] = {b2Vec2(0.5f, 0.5f), b2Vec2(4.5f, 0.5f), b2Vec2(2.5f, 4.5f)};
    EXPECT_EQ(drawsOf([&] { draw.DrawPolygon(triangle, 3, red); }), 1u);
    EXPECT_EQ(drawsOf([&] { draw.DrawSolidPolygon(triangle, 3, red); }), 2u);
    EXPECT_EQ(drawsOf([&] { draw.DrawCircle(b2Vec2(2.5f, 2.5f), 1.0f, red); }), 1u);
    // Fill, outline and the radius toward the axis.
    EXPECT_EQ(drawsOf([&] { draw.DrawSolidCircle(b2Vec2(2.5f, 2.5f), 1.0f, b2Vec2(1.0f, 0.0f), red); }), 3u);
    EXPECT_EQ(drawsOf([&] { draw.DrawSegment(b2Vec2(0.0f, 0.0f), b2Vec2(5.0f, 5.0f), red); }), 1u);
    b2Transform transform;
    transform.SetIdentity();
    EXPECT_EQ(drawsOf([&] { draw.DrawTransform(transform); }), 0u);

    // A point of 6 pixels, in its own colour.
    EXPECT_EQ(drawsOf([&] { draw.DrawPoint(b2Vec2(2.5f, 2.5f), 6.0f, red); }), 1u);
    EXPECT_PIXEL(pixel(50, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(60, 60), 0, 0, 0);
}

} // namespace
