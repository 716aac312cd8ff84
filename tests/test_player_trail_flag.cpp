// Trails and flags without GL: the trail's history (insertion by whole segments, at most 31 per
// frame and 39 kept, the waves handed down, the drift along the node's axes, the ribbon's width
// ramp and sliding texture, nothing for a length of 0 or less), the trail on a layer (start,
// head, the parent's state when attached, its textures), the flag's strip (the fixed first
// column, the last at 0.95, the scroll with "Speed") and its textures, and the way back to the
// layer's space that trails and lights draw in.

#include "kazmath/GL/matrix.h"
#include "kazmath/TransformUtils.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/references/KXAttributeSprite.h"
#include "player/base/KXPNoise.h"
#include "player/objects/KXPLayerSpace.h"
#include "player/objects/effects/KXPFlagStrip.h"
#include "player/objects/effects/KXPObjectAssetFlag.h"
#include "player/objects/effects/KXPObjectAssetTrail.h"
#include "player/objects/effects/KXPTrailPath.h"
#include "support/effect_test_support.h"
#include "support/effects_media_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

using namespace cocos2d;

namespace {

// One frame of a trail as its object runs it: insertion (waves 0), drift, then the head.
int frame(KXPTrailPath& path, float length, const CCPoint& head, float speed = 0.0f, float rotation = 0.0f) {
    const int inserted = path.insert(length, [] { return 0.0f; });
    path.drift(speed, rotation);
    path.setHead(head);
    return inserted;
}

// Insertion alone, the waves counting 1, 2, 3, ... in the order they are drawn.
int insertCounting(KXPTrailPath& path, float length) {
    int wave = 0;
    return path.insert(length, [&wave] { return static_cast<float>(++wave); });
}

TEST(TrailPath, PointsAreInsertedByWholeSegmentsBehindTheHead) {
    // "Length" 40: one point per point of travel.
    KXPTrailPath path;
    path.fill(CCPointZero);
    EXPECT_EQ(frame(path, 40.0f, CCPoint(1.5f, 0.0f)), 0);
    EXPECT_EQ(path.count(), 2);
    // More than one segment but less than two: nothing yet.
    EXPECT_EQ(frame(path, 40.0f, CCPoint(2.5f, 0.0f)), 0);
    // 2.5 segments from the last point: one point, half way from it to the previous head.
    EXPECT_EQ(frame(path, 40.0f, CCPoint(9.0f, 0.0f)), 1);
    EXPECT_EQ(path.count(), 3);
    EXPECT_EQ(path.point(0), CCPoint(9.0f, 0.0f));
    EXPECT_EQ(path.point(1), CCPoint(1.25f, 0.0f));
    EXPECT_EQ(path.point(2), CCPoint(0.0f, 0.0f));
    // 7.75 segments: at 1/7 .. 6/7 of the way, the newest nearest the head.
    EXPECT_EQ(frame(path, 40.0f, CCPoint(9.0f, 0.0f)), 6);
    EXPECT_EQ(path.count(), 9);
    for (int k = 1; k <= 6; ++k) {
        EXPECT_NEAR(path.point(7 - k).x, 1.25f + 7.75f * static_cast<float>(k) / 7.0f, 1e-4f) << k;
    }
}

TEST(TrailPath, AJumpInsertsAtMost31AndTheOldestFallOffBeyond39) {
    KXPTrailPath path;
    path.fill(CCPointZero);
    frame(path, 40.0f, CCPoint(100.0f, 0.0f));
    EXPECT_EQ(frame(path, 40.0f, CCPoint(300.0f, 0.0f)), 31);
    EXPECT_EQ(path.count(), 33);
    // 32 parts of the jump: the newest point is 31/32 of the way.
    EXPECT_NEAR(path.point(1).x, 100.0f * 31.0f / 32.0f, 1e-3f);
    EXPECT_EQ(frame(path, 40.0f, CCPoint(300.0f, 0.0f)), 31);
    EXPECT_EQ(path.count(), KXPTrailPath::kMaxCount);
}

TEST(TrailPath, EachNewPointTakesTheWaveDrawnBeforeIt) {
    KXPTrailPath path;
    path.fill(CCPointZero);
    frame(path, 40.0f, CCPoint(4.0f, 0.0f));
    // Three insertions draw waves 1, 2, 3 for place 0; each is handed down with its point.
    EXPECT_EQ(insertCounting(path, 40.0f), 3);
    EXPECT_EQ(path.wave(0), 3.0f);
    EXPECT_EQ(path.wave(1), 2.0f);
    EXPECT_EQ(path.wave(2), 1.0f);
    EXPECT_EQ(path.wave(3), 0.0f);
}

TEST(TrailPath, PointsDriftAlongTheNodesAxesEveryFrame) {
    KXPTrailPath path;
    path.fill(CCPoint(10.0f, 10.0f));
    frame(path, 40.0f, CCPoint(10.0f, 10.0f));
    // No speed and no wave: the points stay where they were laid.
    frame(path, 40.0f, CCPoint(10.0f, 10.0f));
    EXPECT_EQ(path.point(1), CCPoint(10.0f, 10.0f));

    // Rotation 0: towards +x, per frame whatever the frame took; the head stays.
    path.drift(10.0f, 0.0f);
    EXPECT_NEAR(path.point(1).x, 10.166f, 1e-4f);
    EXPECT_NEAR(path.point(1).y, 10.0f, 1e-4f);
    EXPECT_EQ(path.point(0), CCPoint(10.0f, 10.0f));
    // Turned 90 degrees clockwise, the node's x axis points down.
    path.drift(10.0f, 90.0f);
    EXPECT_NEAR(path.point(1).x, 10.166f, 1e-4f);
    EXPECT_NEAR(path.point(1).y, 9.834f, 1e-4f);

    // A wave moves its point along the node's y axis.
    KXPTrailPath waved;
    waved.fill(CCPointZero);
    frame(waved, 40.0f, CCPoint(4.0f, 0.0f));
    ASSERT_EQ(insertCounting(waved, 40.0f), 3);
    ASSERT_EQ(waved.wave(1), 2.0f);
    const CCPoint before = waved.point(1);
    waved.drift(0.0f, 0.0f);
    EXPECT_NEAR(waved.point(1).y, before.y + 2.0f, 1e-5f);
    EXPECT_NEAR(waved.point(1).x, before.x, 1e-5f);
}

TEST(TrailPath, TheRibbonNarrowsFromHeadToTailAndItsTextureSlides) {
    KXPTrailPath path;
    path.fill(CCPointZero);
    frame(path, 40.0f, CCPointZero);
    for (float x = 1.0f; x <= 10.0f; x += 1.0f) {
        frame(path, 40.0f, CCPoint(x * 2.0f, 0.0f));
    }
    const int count = path.count();
    ASSERT_GT(count, 5);
    ccVertex2F vertices[KXPTrailPath::kStripCapacity];
    ccTex2F coords[KXPTrailPath::kStripCapacity];
    ASSERT_EQ(path.buildStrip(40.0f, 8.0f, 2.0f, vertices, coords), 2 * count - 2);
    const float slide = (1.0f - path.point(0).getDistance(path.point(1))) / 1.0f;
    for (int index = 0; index + 1 < count; ++index) {
        const float t = static_cast<float>(index) / 39.0f - slide * 0.025f;
        const float width = 8.0f * (1.0f - t) + 2.0f * t;
        // Moving along +x, the ribbon lies across it, top first.
        EXPECT_NEAR(vertices[2 * index].x, path.point(index).x, 1e-4f);
        EXPECT_NEAR(vertices[2 * index].y, path.point(index).y + width, 1e-4f) << index;
        EXPECT_NEAR(vertices[2 * index + 1].y, path.point(index).y - width, 1e-4f) << index;
        EXPECT_NEAR(coords[2 * index].u, t, 1e-6f);
        EXPECT_EQ(coords[2 * index].v, 0.0f);
        EXPECT_EQ(coords[2 * index + 1].v, 1.0f);
    }

    // The first pair's coordinate moves from +0.025 (head on point 1) to -0.025 (one segment on).
    KXPTrailPath fresh;
    fresh.fill(CCPointZero);
    frame(fresh, 40.0f, CCPointZero);
    fresh.buildStrip(40.0f, 8.0f, 2.0f, vertices, coords);
    EXPECT_NEAR(coords[0].u, -0.025f, 1e-6f);
    fresh.setHead(CCPoint(0.5f, 0.0f));
    fresh.buildStrip(40.0f, 8.0f, 2.0f, vertices, coords);
    EXPECT_NEAR(coords[0].u, -0.0125f, 1e-6f);
    fresh.setHead(CCPoint(1.0f, 0.0f));
    fresh.buildStrip(40.0f, 8.0f, 2.0f, vertices, coords);
    EXPECT_NEAR(coords[0].u, 0.0f, 1e-6f);
}

TEST(TrailPath, ALengthOfZeroOrLessInsertsAndDrawsNothing) {
    ccVertex2F vertices[KXPTrailPath::kStripCapacity];
    ccTex2F coords[KXPTrailPath::kStripCapacity];
    for (float length : {0.0f, -40.0f, std::nanf("")}) {
        KXPTrailPath path;
        path.fill(CCPointZero);
        frame(path, length, CCPoint(100.0f, 0.0f));
        EXPECT_EQ(frame(path, length, CCPoint(200.0f, 0.0f)), 0) << length;
        EXPECT_EQ(path.count(), 2);
        EXPECT_EQ(path.buildStrip(length, 8.0f, 2.0f, vertices, coords), 0);
    }
}

class EffectObjects : public kxtest::SceneTest {
protected:
    std::unique_ptr<kxtest::MediaFolder> media;
    CCNode* layer = nullptr;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        media.reset(new kxtest::MediaFolder());
        ASSERT_TRUE(media->entered());
        layer = CCNode::create();
        layer->retain();
        layer->setPosition(CCPoint(-300.0f, 20.0f));
    }
    void TearDown() override {
        layer->removeAllChildrenWithCleanup(true);
        layer->release();
        CCPoolManager::sharedPoolManager()->pop();
        media.reset();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    static void setFloat(KXModel& model, const char* name, float value) {
        attributeOf<KXAttributeFloat>(model, name)->setValue(value);
    }
    std::shared_ptr<KXModelObjectTrail> trailModel(float length, float speed) {
        auto model = createModel<KXModelObjectTrail>();
        setFloat(*model, "Length", length);
        setFloat(*model, "Speed", speed);
        setFloat(*model, "Start Width", 10.0f);
        setFloat(*model, "End Width", 2.0f);
        return model;
    }
    template <class T> T* make(const std::shared_ptr<KXModel>& model) {
        T* object = dynamic_cast<T*>(KXPObjectAsset::create(model));
        EXPECT_NE(object, nullptr);
        return object;
    }
};

TEST_F(EffectObjects, ATrailStartsAtItsNodeAndItsHeadFollowsIt) {
    KXPObjectAssetTrail* trail = make<KXPObjectAssetTrail>(trailModel(40.0f, 0.0f));
    trail->setPosition(CCPoint(400.0f, 100.0f));
    layer->addChild(trail);
    trail->setObjectLayer(layer);
    trail->addToWorld(nullptr, true);
    EXPECT_EQ(trail->path().point(39), CCPoint(400.0f, 100.0f));
    trail->update(0.5f);
    EXPECT_EQ(trail->time(), 0.25f);
    EXPECT_EQ(trail->path().count(), 2);
    // The head in the layer's space: the world position less the layer's.
    EXPECT_EQ(trail->path().point(0), CCPoint(400.0f, 100.0f));
    trail->setPosition(CCPoint(420.0f, 100.0f));
    trail->update(1.0f / 60.0f);
    trail->update(1.0f / 60.0f);
    EXPECT_EQ(trail->path().count(), 21);
    EXPECT_EQ(trail->path().point(0), CCPoint(420.0f, 100.0f));

    // Without a layer nothing moves on.
    KXPObjectAssetTrail* loose = make<KXPObjectAssetTrail>(trailModel(40.0f, 0.0f));
    loose->update(1.0f);
    EXPECT_EQ(loose->time(), 0.0f);
    EXPECT_EQ(loose->path().count(), 0);
    EXPECT_GE(loose->phase(), 0.0f);
    EXPECT_LE(loose->phase(), 100.0f);
}

TEST_F(EffectObjects, AnAttachedTrailTakesItsCarriersState) {
    KXPObject* carrier = new KXPObject(nullptr);
    carrier->init();
    carrier->autorelease();
    KXPObjectAssetTrail* trail = make<KXPObjectAssetTrail>(trailModel(40.0f, 0.0f));
    carrier->setPosition(CCPoint(500.0f, 100.0f));
    layer->addChild(carrier);
    carrier->setObjectLayer(layer);
    trail->setPosition(CCPoint(10.0f, -5.0f));
    carrier->addChild(trail);
    trail->setObjectLayer(layer);
    trail->addToWorld(nullptr, true);
    EXPECT_EQ(trail->path().point(0), CCPoint(510.0f, 95.0f));
    carrier->setState(3);
    trail->update(1.0f / 60.0f);
    EXPECT_EQ(trail->getState(), KXPObject::kStateActive);
    trail->setAttached(true);
    trail->update(1.0f / 60.0f);
    EXPECT_EQ(trail->getState(), 3);
}

TEST_F(EffectObjects, TrailsAndFlagsTakeTheirSpriteElseTheGamesMapElseSaySo) {
    auto picture = media->solidPicture(8, 8, {200, 10, 10, 255});
    ASSERT_TRUE(kxtest::writeEffectMap("trailMap.png", {10, 200, 10, 255}));
    ASSERT_TRUE(kxtest::writeEffectMap("flagMap.png", {10, 10, 200, 255}));
    const CCTexture2D* ownTexture = picture->textureAt(0);
    ASSERT_NE(ownTexture, nullptr);

    auto trail = trailModel(40.0f, 0.0f);
    attributeOf<KXAttributeSprite>(*trail, "Texture")->setValue(picture);
    EXPECT_EQ(make<KXPObjectAssetTrail>(trail)->texture(), ownTexture);
    auto flag = createModel<KXModelObjectFlag>();
    attributeOf<KXAttributeSprite>(*flag, "Texture")->setValue(picture);
    EXPECT_EQ(make<KXPObjectAssetFlag>(flag)->texture(), ownTexture);

    CCTexture2D* trailMap = make<KXPObjectAssetTrail>(trailModel(40.0f, 0.0f))->texture();
    CCTexture2D* flagMap = make<KXPObjectAssetFlag>(createModel<KXModelObjectFlag>())->texture();
    ASSERT_NE(trailMap, nullptr);
    ASSERT_NE(flagMap, nullptr);
    EXPECT_NE(trailMap, flagMap);
    EXPECT_EQ(trailMap, CCTextureCache::sharedTextureCache()->addImage("data/fx/trailMap.png"));

    ASSERT_EQ(std::remove("data/fx/trailMap.png"), 0);
    ASSERT_EQ(std::remove("data/fx/flagMap.png"), 0);
    CCTextureCache::purgeSharedTextureCache();
    KXDebugLogCapture log;
    EXPECT_EQ(make<KXPObjectAssetTrail>(trailModel(40.0f, 0.0f))->texture(), nullptr);
    EXPECT_EQ(make<KXPObjectAssetFlag>(createModel<KXModelObjectFlag>())->texture(), nullptr);
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "[KXPObjectAssetTrail] no texture and no \"data/fx/trailMap.png\": the trail is not drawn",
                  "[KXPObjectAssetFlag] no texture and no \"data/fx/flagMap.png\": the flag is not drawn"}));
}

TEST(FlagStrip, TheFirstColumnStaysFixedAndTheLastLiesAt95Percent) {
    KXPFlagShape shape;
    shape.startWidth = 20.0f;
    shape.endWidth = 5.0f;
    shape.length = 200.0f;
    shape.waveHeight = 30.0f;
    shape.waveLength = 80.0f;
    ccVertex2F vertices[KXPFlagStrip::kVertices];
    ccTex2F coords[KXPFlagStrip::kVertices];
    for (double phase : {0.0, 0.37, -2.5}) {
        KXPFlagStrip::build(shape, phase, vertices, coords);
        EXPECT_EQ(vertices[0].x, 0.0f);
        EXPECT_EQ(vertices[0].y, 20.0f);
        EXPECT_EQ(vertices[1].y, -20.0f);
        EXPECT_EQ(coords[0].u, 0.0f);

        const float t = 0.95f;
        const float bend = static_cast<float>(noise1(80.0 / 50.0 * (phase * 10.0 + t)) * 30.0) * t;
        const float width = 20.0f * (1.0f - t) + 5.0f * t;
        const ccVertex2F& top = vertices[KXPFlagStrip::kVertices - 2];
        const ccVertex2F& bottom = vertices[KXPFlagStrip::kVertices - 1];
        EXPECT_NEAR(top.x, 190.0f, 1e-3f);
        EXPECT_NEAR(top.y, bend + width, 1e-3f) << phase;
        EXPECT_NEAR(bottom.y, bend - width, 1e-3f) << phase;
        EXPECT_NEAR(coords[KXPFlagStrip::kVertices - 2].u, 0.95f, 1e-6f);
        EXPECT_EQ(coords[KXPFlagStrip::kVertices - 2].v, 0.0f);
        EXPECT_EQ(coords[KXPFlagStrip::kVertices - 1].v, 1.0f);
    }
    // The wave does move the free end with the phase.
    KXPFlagStrip::build(shape, 0.0, vertices, coords);
    const float before = vertices[KXPFlagStrip::kVertices - 2].y;
    KXPFlagStrip::build(shape, 0.05, vertices, coords);
    EXPECT_NE(vertices[KXPFlagStrip::kVertices - 2].y, before);
}

TEST_F(EffectObjects, AFlagScrollsItsWaveWithSpeedEitherWayAndHoldsItAtZero) {
    auto model = createModel<KXModelObjectFlag>();
    KXPObjectAssetFlag* flag = make<KXPObjectAssetFlag>(model);
    EXPECT_GE(flag->phase(), -1.0f);
    EXPECT_LE(flag->phase(), 1.0f);
    for (float speed : {0.0f, 300.0f, -300.0f}) {
        setFloat(*model, "Speed", speed);
        const float before = flag->phase();
        flag->update(0.5f);
        EXPECT_NEAR(flag->phase(), before - speed * 0.5f * 0.001f, 1e-6f) << speed;
    }
}

} // namespace

// Effects keep their geometry in the layer's space: from inside a draw, after visiting applied the
// carrier's and the node's transforms, undoing them leaves the layer's space.
TEST(LayerSpace, UndoingTheChainDownToTheNodeLeavesTheLayersSpace) {
    kmGLFreeAll();
    CCNode* layer = CCNode::create();
    CCNode* carrier = CCNode::create();
    CCNode* node = CCNode::create();
    layer->addChild(carrier);
    carrier->addChild(node);
    carrier->setPosition(CCPoint(100.0f, 50.0f));
    carrier->setRotation(30.0f);
    carrier->setScale(2.0f);
    node->setPosition(CCPoint(10.0f, 0.0f));
    node->setRotation(15.0f);

    const auto applyAsVisit = [](CCNode* visited) {
        kmMat4 matrix;
        const CCAffineTransform transform = visited->nodeToParentTransform();
        CGAffineToGL(&transform, matrix.mat);
        kmGLMultMatrix(&matrix);
    };
    const auto current = [] {
        kmMat4 matrix;
        kmGLGetMatrix(KM_GL_MODELVIEW, &matrix);
        return matrix;
    };
    kmGLPushMatrix();
    applyAsVisit(carrier);
    applyAsVisit(node);
    CCPoint position;
    ASSERT_TRUE(undoTransformToLayer(node, layer, &position));
    const kmMat4 undone = current();
    for (int index = 0; index < 16; ++index) {
        EXPECT_NEAR(undone.mat[index], (index % 5 == 0) ? 1.0f : 0.0f, 1e-5f) << index;
    }
    const CCPoint expected = layer->convertToNodeSpace(carrier->convertToWorldSpace(node->getPosition()));
    EXPECT_NEAR(position.x, expected.x, 1e-4f);
    EXPECT_NEAR(position.y, expected.y, 1e-4f);
    kmGLPopMatrix();

    // Without a layer above: the node's own transform only, in its parent's space.
    kmGLPushMatrix();
    applyAsVisit(node);
    ASSERT_TRUE(undoTransformToLayer(node, nullptr, &position));
    EXPECT_NEAR(current().mat[0], 1.0f, 1e-5f);
    EXPECT_NEAR(current().mat[12], 0.0f, 1e-4f);
    EXPECT_EQ(position, CCPoint(10.0f, 0.0f));
    kmGLPopMatrix();

    // A scale of 0 cannot be undone: nothing changes.
    node->setScaleY(0.0f);
    const kmMat4 before = current();
    EXPECT_FALSE(undoTransformToLayer(node, layer, &position));
    EXPECT_EQ(std::memcmp(before.mat, current().mat, sizeof before.mat), 0);
}
