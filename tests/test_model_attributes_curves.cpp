// Animation curves: evaluation, point insertion and smoothing, cloning, the stored map and
// the per-state curve list.
#include <gtest/gtest.h>

#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAnimationCurveMap.h"
#include "support/attribute_test_support.h"

namespace {

KXAnimationCurvePoint point(float inHandle, float time, float value, float outHandle) {
    return KXAnimationCurvePoint{inHandle, time, value, outHandle};
}

// Points at times 0 and 1, values 0 and 10, with flat handles as the editor stores them.
KXAnimationCurve loadedRamp() {
    KXAnimationCurve curve;
    curve.appendPoint(point(0, 0, 0, 0));
    curve.appendPoint(point(10, 1, 10, 10));
    return curve;
}

void expectPoint(const KXAnimationCurvePoint& p, float inHandle, float time, float value, float outHandle) {
    EXPECT_FLOAT_EQ(p.inHandle, inHandle);
    EXPECT_FLOAT_EQ(p.time, time);
    EXPECT_FLOAT_EQ(p.value, value);
    EXPECT_FLOAT_EQ(p.outHandle, outHandle);
}

class CurveTest : public ::testing::Test {
protected:
    void SetUp() override { installAttributeKeyTable(); }
    void TearDown() override { KXMessagePackMap::resetKeyState(); }
};

} // namespace

TEST(CurveEvaluation, FreshCurveDefaults) {
    KXAnimationCurve curve;
    EXPECT_EQ(curve.mode(), KXAnimationCurve::CubicBezier);
    EXPECT_EQ(curve.preset(), 4);
    EXPECT_TRUE(curve.points().empty());
    EXPECT_EQ(curve.valueAt(3.0f), 0.0f);
}

TEST(CurveEvaluation, SinglePointIsConstant) {
    KXAnimationCurve curve;
    curve.appendPoint(point(1, 2, 7, 1));
    EXPECT_EQ(curve.valueAt(-100.0f), 7.0f);
    EXPECT_EQ(curve.valueAt(2.0f), 7.0f);
    EXPECT_EQ(curve.valueAt(100.0f), 7.0f);
}

TEST(CurveEvaluation, HalfwayAlongALoadedRampPerMode) {
    KXAnimationCurve curve = loadedRamp();
    EXPECT_FLOAT_EQ(curve.valueAt(0.5f), 5.0f);
    // u = 0.25: 3 * 0.25 * 0.75^2 * 0 + 3 * 0.25^2 * 0.75 * 10 + 0.25^3 * 10 = 1.40625 + 0.15625
    EXPECT_FLOAT_EQ(curve.valueAt(0.25f), 1.5625f);
    curve.setMode(KXAnimationCurve::Linear);
    EXPECT_FLOAT_EQ(curve.valueAt(0.25f), 2.5f);
    curve.setMode(3);
    EXPECT_EQ(curve.valueAt(0.25f), 0.0f);
    // Outside the segments the mode does not matter.
    EXPECT_EQ(curve.valueAt(2.0f), 10.0f);
}

TEST(CurveEvaluation, EndsAndInteriorPointTimes) {
    KXAnimationCurve curve;
    curve.appendPoint(point(3, 1, 3, 3));
    curve.appendPoint(point(20, 2, 20, 20));
    curve.appendPoint(point(-6, 4, -6, -6));
    EXPECT_EQ(curve.valueAt(0.0f), 3.0f); // before the first time
    EXPECT_EQ(curve.valueAt(1.0f), 3.0f);
    EXPECT_EQ(curve.valueAt(2.0f), 20.0f); // exactly an interior time
    EXPECT_EQ(curve.valueAt(4.0f), -6.0f); // the last time
    EXPECT_EQ(curve.valueAt(9.0f), -6.0f); // after it
}

TEST(CurveEvaluation, UsesTheHandlesOfTheSegment) {
    KXAnimationCurve curve;
    curve.appendPoint(point(0, 0, 0, 4));
    curve.appendPoint(point(8, 2, 10, 10));
    // u = 0.5: 0.125 * 0 + 0.375 * 4 + 0.375 * 8 + 0.125 * 10
    EXPECT_FLOAT_EQ(curve.valueAt(1.0f), 5.75f);
}

TEST(CurvePoints, InsertionSortsAndSmoothsInnerHandles) {
    KXAnimationCurve curve;
    curve.addPoint(4, 2);
    curve.addPoint(0, 0);
    curve.addPoint(10, 1);
    ASSERT_EQ(curve.points().size(), 3u);
    expectPoint(curve.points()[0], 0, 0, 0, 0);
    // 10 -/+ (4 - 0) / 4
    expectPoint(curve.points()[1], 9, 1, 10, 11);
    expectPoint(curve.points()[2], 4, 2, 4, 4);
    // u = 0.5 between (0, out 0) and (in 9, 10): 0.375 * 9 + 0.125 * 10
    EXPECT_FLOAT_EQ(curve.valueAt(0.5f), 4.625f);
}

TEST(CurvePoints, AddingAtAnExistingTimeFlattensOnlyThatPoint) {
    KXAnimationCurve curve;
    curve.addPoint(0, 0);
    curve.addPoint(10, 1);
    curve.addPoint(4, 2);
    curve.addPoint(7, 1);
    ASSERT_EQ(curve.points().size(), 3u);
    expectPoint(curve.points()[0], 0, 0, 0, 0);
    expectPoint(curve.points()[1], 7, 1, 7, 7);
    expectPoint(curve.points()[2], 4, 2, 4, 4);
}

TEST(CurvePoints, CloneRebuildsHandlesAndDropsModeAndPreset) {
    KXAnimationCurve source;
    source.appendPoint(point(99, 0, 0, 99));
    source.appendPoint(point(-5, 1, 10, 3));
    source.appendPoint(point(1, 2, 4, 1));
    source.setPreset(7);
    source.setMode(KXAnimationCurve::Linear);
    auto copy = source.clone();
    EXPECT_EQ(copy->preset(), 4);
    EXPECT_EQ(copy->mode(), KXAnimationCurve::CubicBezier);
    ASSERT_EQ(copy->points().size(), 3u);
    expectPoint(copy->points()[0], 0, 0, 0, 0);
    expectPoint(copy->points()[1], 9, 1, 10, 11);
    expectPoint(copy->points()[2], 4, 2, 4, 4);
}

TEST_F(CurveTest, PacksTwoStoredPointsPerControlPoint) {
    KXAnimationCurve curve;
    curve.appendPoint(point(1, 2, 3, 4));
    curve.appendPoint(point(5, 6, 7, 8));
    curve.setPreset(-3);
    ReadMap read(packValuesToBytes(curve));
    EXPECT_EQ(read.keyNames(), (std::set<std::string>{"points", "preset"}));
    std::vector<std::vector<float>> points;
    read.map().get("points", points);
    EXPECT_EQ(points, (std::vector<std::vector<float>>{{2, 3}, {1, 4}, {6, 7}, {5, 8}}));
    EXPECT_EQ(read["preset"]->type, msgpack::type::NEGATIVE_INTEGER);
    EXPECT_EQ(read["preset"]->as<int>(), -3);
}

TEST_F(CurveTest, UnpackAppendsPairsAsStoredAndIgnoresAnOddTail) {
    struct Case {
        std::vector<std::vector<float>> stored;
        size_t expectedPoints;
    };
    const Case cases[] = {
        {{}, 0},
        {{{0, 1}}, 0},
        {{{0, 1}, {2, 3}}, 1},
        {{{5, 1}, {2, 3}, {0, 4}, {6, 7}, {9, 9}}, 2},
    };
    for (const Case& c : cases) {
        MapWriter writer(1);
        writer.key("points").pack(c.stored);
        KXAnimationCurve curve;
        unpackValuesFromBytes(curve, writer.bytes());
        EXPECT_EQ(curve.points().size(), c.expectedPoints) << c.stored.size() << " stored points";
        EXPECT_EQ(curve.preset(), 4);
    }
    // Order and handles exactly as stored: no sorting, no smoothing.
    MapWriter writer(2);
    writer.key("points").pack(std::vector<std::vector<float>>{{5, 1}, {2, 3}, {0, 4}, {6, 7}});
    writer.key("preset").pack(9);
    KXAnimationCurve curve;
    unpackValuesFromBytes(curve, writer.bytes());
    ASSERT_EQ(curve.points().size(), 2u);
    expectPoint(curve.points()[0], 2, 5, 1, 3);
    expectPoint(curve.points()[1], 6, 0, 4, 7);
    EXPECT_EQ(curve.preset(), 9);
}

TEST_F(CurveTest, UnpackRejectsMalformedPoints) {
    MapWriter writer(1);
    writer.key("points").pack(std::vector<std::vector<float>>{{0, 1, 2}, {3, 4}});
    KXAnimationCurve curve;
    EXPECT_THROW(unpackValuesFromBytes(curve, writer.bytes()), msgpack::type_error);
}

namespace {

// A curve list element {"state": state, "animation": {"points": [(0, value), (value, value)]}},
// optionally without "state" or without "animation".
void packElement(msgpack::packer<msgpack::sbuffer>& packer, int state, float value, bool withState = true,
                 bool withAnimation = true) {
    packer.pack_map((withState ? 1 : 0) + (withAnimation ? 1 : 0));
    if (withState) {
        packer.pack(KXMessagePackMap::requireKeyId("state"));
        packer.pack(state);
    }
    if (withAnimation) {
        packer.pack(KXMessagePackMap::requireKeyId("animation"));
        packer.pack_map(1);
        packer.pack(KXMessagePackMap::requireKeyId("points"));
        packer.pack(std::vector<std::vector<float>>{{0, value}, {value, value}});
    }
}

} // namespace

TEST_F(CurveTest, CurveListDropsStatelessAndMinusOneAndKeepsTheLaterDuplicate) {
    MapWriter writer(1);
    auto& packer = writer.key("animations");
    packer.pack_array(6);
    packElement(packer, 3, 30);
    packElement(packer, -1, 99);
    packElement(packer, 0, 98, false);
    packElement(packer, 5, 50);
    packElement(packer, 3, 31);
    packElement(packer, 8, 0, true, false);
    ReadMap read(writer.bytes());
    KXAnimationCurveMap curves = KXAnimationCurveMap::fromObject(*read["animations"]);
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(curves.find(3)->valueAt(0), 31.0f);
    EXPECT_EQ(curves.find(5)->valueAt(0), 50.0f);
    // Without "animation" the curve stays fresh.
    EXPECT_TRUE(curves.find(8)->points().empty());
    EXPECT_EQ(curves.find(-1), nullptr);
}

TEST_F(CurveTest, CurveListElementsMustBeMaps) {
    MapWriter writer(1);
    writer.key("animations").pack(std::vector<int>{1, 2});
    ReadMap read(writer.bytes());
    EXPECT_THROW(KXAnimationCurveMap::fromObject(*read["animations"]), msgpack::type_error);
}

TEST_F(CurveTest, CurveMapCopyClonesEachCurve) {
    KXAnimationCurveMap source;
    auto* curve = new KXAnimationCurve();
    curve->appendPoint(point(5, 0, 1, 5));
    curve->appendPoint(point(5, 1, 2, 5));
    source.replace(-4, curve);
    KXAnimationCurveMap copy(source);
    ASSERT_NE(copy.find(-4), nullptr);
    EXPECT_NE(copy.find(-4), curve);
    // The clone's handles are the flat ones addPoint gives.
    EXPECT_FLOAT_EQ(copy.find(-4)->points()[0].outHandle, 1.0f);
    // Replacing with the same curve keeps it; a null curve removes the entry.
    source.replace(-4, curve);
    EXPECT_EQ(source.find(-4), curve);
    source.replace(-4, nullptr);
    EXPECT_TRUE(source.empty());
}

TEST_F(CurveTest, KeyCollectionRecordsTheNestedCurveKeys) {
    KXMessagePackMap::resetKeyState();
    KXMessagePackMap::setCollectingKeys(true);
    KXAnimationCurveMap curves;
    curves.replace(1, new KXAnimationCurve());
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    curves.pack(map, "animationsX");
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames(),
              (std::set<std::string>{"animationsX", "state", "animation", "points", "preset"}));
    KXMessagePackMap::setCollectingKeys(false);
}
