// The game-field camera: scrolling by the game speed along the gameplay angle, the frame edges
// that follow, push back or kill (in the order below, right, above, left), the banner offset, the
// follow factor, the contact view box; the gradient noise and the foot of a perpendicular.

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPGeometry.h"
#include "player/base/KXPNoise.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/input/KXPInputController.h"
#include "support/field_test_support.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace cocos2d;

namespace {

constexpr int kTop = 0;
constexpr int kRight = 1;
constexpr int kBottom = 2;
constexpr int kLeft = 3;

class FieldCamera : public kxtest::SceneTest {
protected:
    std::shared_ptr<KXModelScreenScene> model;
    KXPGameFieldCamera* camera = nullptr;
    KXPGameplaySettings* gameplay = nullptr;
    kxtest::FakeCharacter* character = nullptr;
    CCSize window;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        window = director()->getWinSize();
        gameplay = KXPGameplaySettings::shared();
        gameplay->setGameSpeed(0.0f);
        gameplay->setGameplayAngleDirection(0.0f);
        model = createModel<KXModelScreenScene>();
        // The middle half of the window.
        model->objectFrameRectAttribute()->setValue(CCRect(0.25f, 0.25f, 0.5f, 0.5f), true);
        camera = KXPGameFieldCamera::create();
        camera->retain();
        camera->setModel(model);
        character = kxtest::FakeCharacter::create();
        KXPInputController::shared()->addCharacter(character);
    }
    void TearDown() override {
        camera->release();
        KXPInputController::purgeShared();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    void setEdge(int edge, KXObjectFrameEdgeState state) {
        model->objectFrameStateAttribute(edge)->setValue(state, true);
    }
    // The frame in the camera's coordinates, as the update sees it (no banner: 40 lower).
    CCRect frame() const {
        const CCRect& b = camera->getBounds();
        return CCRect(b.origin.x - camera->getPositionX(), b.origin.y - camera->getPositionY() - 40.0f,
                      b.size.width, b.size.height + 40.0f);
    }
};

TEST_F(FieldCamera, TheFrameComesFromTheModelInWindowUnits) {
    EXPECT_TRUE(camera->getBounds().equals(
        CCRect(window.width * 0.25f, window.height * 0.25f, window.width * 0.5f, window.height * 0.5f)));
    // Exactly (0, 0) is no target: the last one stays.
    camera->setTarget(CCPoint(10.0f, 20.0f));
    camera->setTarget(CCPointZero);
    EXPECT_TRUE(camera->getTarget().equals(CCPoint(10.0f, 20.0f)));
}

TEST_F(FieldCamera, ItScrollsByTheGameSpeedAgainstTheGameplayDirection) {
    camera->setTarget(CCPoint(window.width * 0.5f, window.height * 0.5f));
    camera->update(1.0f / 60.0f);
    EXPECT_TRUE(camera->getPosition().equals(CCPointZero));
    EXPECT_TRUE(camera->getStep().equals(CCPointZero));

    gameplay->setGameSpeed(5.0f);
    camera->update(1.0f / 60.0f);
    EXPECT_NEAR(camera->getPositionX(), -5.0f, 1e-4f);
    EXPECT_NEAR(camera->getStep().x, 5.0f, 1e-4f);

    // Angles are clockwise: 90 degrees is down the screen, so the world scrolls up.
    camera->setPosition(CCPointZero);
    gameplay->setGameplayAngleDirection(90.0f);
    camera->setTarget(CCPoint(window.width * 0.5f, window.height * 0.5f - 5.0f));
    camera->update(1.0f / 60.0f);
    EXPECT_NEAR(camera->getPositionX(), 0.0f, 1e-4f);
    EXPECT_NEAR(camera->getPositionY(), 5.0f, 1e-4f);
}

TEST_F(FieldCamera, FollowingEdgesBringTheTargetBackOntoTheFrame) {
    const CCPoint target(window.width * 0.9f, window.height * 0.5f);
    camera->setTarget(target);
    camera->update(1.0f / 60.0f);
    EXPECT_NEAR(frame().getMaxX(), target.x, 1e-3f);
    EXPECT_NEAR(camera->getStep().x, window.width * 0.15f, 1e-3f);

    // A follow factor of one half covers half the way per update.
    camera->setPosition(CCPointZero);
    camera->setFollowFactor(0.5f);
    camera->update(1.0f / 60.0f);
    EXPECT_NEAR(camera->getPositionX(), -window.width * 0.075f, 1e-3f);

    // Inside the frame the camera only scrolls.
    camera->setPosition(CCPointZero);
    camera->setTarget(CCPoint(window.width * 0.5f, window.height * 0.5f));
    camera->update(1.0f / 60.0f);
    EXPECT_TRUE(camera->getPosition().equals(CCPointZero));
}

TEST_F(FieldCamera, WithoutABannerTheFrameReaches40PointsLower) {
    // 30 points below the frame's own bottom: inside the lowered frame, so nothing moves.
    camera->setTarget(CCPoint(window.width * 0.5f, window.height * 0.25f - 30.0f));
    camera->update(1.0f / 60.0f);
    EXPECT_TRUE(camera->getPosition().equals(CCPointZero));
    // 50 below: 10 beyond it.
    camera->setTarget(CCPoint(window.width * 0.5f, window.height * 0.25f - 50.0f));
    camera->update(1.0f / 60.0f);
    EXPECT_NEAR(camera->getPositionY(), 10.0f, 1e-3f);
}

TEST_F(FieldCamera, PushingEdgesMoveTheCharactersBackInstead) {
    setEdge(kRight, KXObjectFrameEdgePushBack);
    character->setPosition(CCPoint(window.width * 0.9f, window.height * 0.5f));
    camera->setTarget(character->getPosition());
    camera->update(1.0f / 60.0f);
    EXPECT_TRUE(camera->getPosition().equals(CCPointZero));
    ASSERT_EQ(character->bodyPlacements.size(), 1u);
    EXPECT_NEAR(character->bodyPlacements[0].x, window.width * 0.75f, 1e-3f);
    EXPECT_NEAR(character->bodyPlacements[0].y, window.height * 0.5f, 1e-3f);
}

TEST_F(FieldCamera, AKillingEdgeKillsEveryCharacterAndEndsTheLookAtTheOtherEdges) {
    // Below-right of the frame: the bottom kills, so the right edge is not followed.
    setEdge(kBottom, KXObjectFrameEdgeKill);
    camera->setTarget(CCPoint(window.width * 0.9f, 0.0f));
    camera->update(1.0f / 60.0f);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    EXPECT_EQ(character->calls, std::vector<std::string>{"clearActivePowerups"});
    EXPECT_TRUE(character->bodyPlacements.empty());
    EXPECT_TRUE(camera->getPosition().equals(CCPointZero));

    // The other way round: the bottom pushes first, then the right edge kills; the push reaches
    // no character, as none lives any more.
    character->setState(KXPObject::kStateActive);
    character->calls.clear();
    setEdge(kBottom, KXObjectFrameEdgePushBack);
    setEdge(kRight, KXObjectFrameEdgeKill);
    camera->update(1.0f / 60.0f);
    EXPECT_EQ(character->getState(), KXPObject::kStateDead);
    EXPECT_TRUE(character->bodyPlacements.empty());
}

TEST_F(FieldCamera, AlignedBordersTurnTheFollowWithTheGameplayAngle) {
    model->alignCameraBordersAttribute()->setValue(true, true);
    gameplay->setGameplayAngleDirection(90.0f);
    camera->setTarget(CCPoint(window.width * 0.75f + 10.0f, window.height * 0.5f));
    camera->update(1.0f / 60.0f);
    // 10 to the right, turned a quarter the other way: the camera moves along y instead.
    EXPECT_NEAR(camera->getPositionX(), 0.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(camera->getPositionY()), 10.0f, 1e-3f);
}

TEST_F(FieldCamera, TheContactBoxIsTheFrameGrownBy10PointsInMetres) {
    camera->setPosition(CCPoint(-20.0f, 0.0f));
    const b2AABB box = camera->worldViewBox();
    const CCRect& b = camera->getBounds();
    EXPECT_FLOAT_EQ(box.lowerBound.x, (b.origin.x + 20.0f - 10.0f) * 0.05f);
    EXPECT_FLOAT_EQ(box.lowerBound.y, (b.origin.y - 10.0f) * 0.05f);
    EXPECT_FLOAT_EQ(box.upperBound.x, (b.getMaxX() + 20.0f + 10.0f) * 0.05f);
    EXPECT_FLOAT_EQ(box.upperBound.y, (b.getMaxY() + 10.0f) * 0.05f);

    b2World world(b2Vec2(0.0f, 0.0f));
    auto fixtureAt = [&](float x, float y, float radius) {
        b2BodyDef def;
        def.position.Set(x, y);
        b2Body* body = world.CreateBody(&def);
        b2CircleShape circle;
        circle.m_radius = radius;
        return body->CreateFixture(&circle, 1.0f);
    };
    // Touching the grown frame exactly on its edge still counts as inside.
    EXPECT_TRUE(camera->containsFixture(fixtureAt(box.lowerBound.x + 0.5f, box.lowerBound.y + 0.5f, 0.5f)));
    EXPECT_FALSE(camera->containsFixture(fixtureAt(box.lowerBound.x + 0.4f, box.lowerBound.y + 1.0f, 0.5f)));
    EXPECT_FALSE(camera->containsFixture(fixtureAt(box.upperBound.x, box.upperBound.y, 0.5f)));
}

TEST(FieldNoise, IsZeroOnEveryLatticePointAndRepeatsForASeed) {
    for (double x : {0.0, 1.0, 7.0, -3.0, 200.0 * 16.0}) {
        EXPECT_EQ(noise1(x), 0.0) << x;
    }
    std::srand(7);
    noiseInit();
    const double first = noise1(3.3);
    double largest = 0.0;
    for (int i = 0; i < 1000; ++i) {
        largest = std::max(largest, std::fabs(noise1(i * 0.137)));
    }
    EXPECT_LE(largest, 1.0);
    EXPECT_GT(largest, 0.0);
    std::srand(7);
    noiseInit();
    EXPECT_EQ(noise1(3.3), first);
}

TEST(FieldGeometry, TheFootOfAPerpendicularAlsoOnVerticalLines) {
    const CCPoint onFlat = projectPointOnLine(CCPoint(0.0f, 0.0f), CCPoint(10.0f, 0.0f), CCPoint(3.0f, 5.0f));
    EXPECT_NEAR(onFlat.x, 3.0f, 1e-3f);
    EXPECT_NEAR(onFlat.y, 0.0f, 1e-3f);
    const CCPoint onSlope =
        projectPointOnLine(CCPoint(0.0f, 0.0f), CCPoint(10.0f, 10.0f), CCPoint(0.0f, 10.0f));
    EXPECT_NEAR(onSlope.x, 5.0f, 1e-3f);
    EXPECT_NEAR(onSlope.y, 5.0f, 1e-3f);
    // Vertical lines: near the origin and where a float nudge would vanish the foot is found; far
    // out, where even the nudge in double vanishes, the line is taken as vertical.
    for (float x : {0.0f, 1000.0f}) {
        const CCPoint foot = projectPointOnLine(CCPoint(x, 0.0f), CCPoint(x, 10.0f), CCPoint(3.0f, 5.0f));
        EXPECT_NEAR(foot.x, x, 1e-2f) << x;
        EXPECT_NEAR(foot.y, 5.0f, 1e-2f) << x;
    }
    const CCPoint far =
        projectPointOnLine(CCPoint(1.0e12f, 0.0f), CCPoint(1.0e12f, 10.0f), CCPoint(3.0f, 5.0f));
    EXPECT_TRUE(far.equals(CCPoint(1.0e12f, 5.0f)));
}

} // namespace
