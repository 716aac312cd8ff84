// Property: random values of every attribute type survive pack, bytes and unpack bit for bit
// (1,000 cases per type, fixed seeds so that a failure repeats).
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeGradient.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "support/attribute_test_support.h"

using cocos2d::ccColor4F;
using cocos2d::CCPoint;
using cocos2d::CCRect;
using cocos2d::CCSize;

namespace {

constexpr int kCases = 1000;

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

class Random {
public:
    explicit Random(uint32_t seed) : m_engine(seed) {}

    uint32_t bits() { return static_cast<uint32_t>(m_engine()); }
    int32_t integer() { return static_cast<int32_t>(bits()); }
    bool coin() { return (bits() & 1u) != 0; }
    size_t below(size_t limit) { return bits() % limit; }
    // Any float bit pattern: infinities, -0.0, subnormals and NaNs included. NaNs are made
    // quiet, since a signalling NaN turns quiet when the reader widens it to a double.
    float real() {
        uint32_t pattern = bits();
        if ((pattern & 0x7F800000u) == 0x7F800000u && (pattern & 0x007FFFFFu) != 0) {
            pattern |= 0x00400000u;
        }
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        return value;
    }
    std::string text() {
        std::string result(below(40), '\0');
        for (char& c : result) {
            c = static_cast<char>(bits());
        }
        return result;
    }
    int32_t state() {
        int32_t state = integer();
        return state == -1 ? 0 : state; // -1 marks "no state" in the stored list
    }
    KXAnimationCurve* curve() {
        auto* curve = new KXAnimationCurve();
        const size_t count = below(5);
        for (size_t i = 0; i < count; ++i) {
            curve->appendPoint(KXAnimationCurvePoint{real(), real(), real(), real()});
        }
        curve->setPreset(integer());
        return curve;
    }

private:
    std::mt19937 m_engine;
};

void expectSameCurve(const KXAnimationCurve* a, const KXAnimationCurve* b) {
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->preset(), b->preset());
    ASSERT_EQ(a->points().size(), b->points().size());
    for (size_t i = 0; i < a->points().size(); ++i) {
        const KXAnimationCurvePoint& p = a->points()[i];
        const KXAnimationCurvePoint& q = b->points()[i];
        EXPECT_EQ(bitsOf(p.inHandle), bitsOf(q.inHandle));
        EXPECT_EQ(bitsOf(p.time), bitsOf(q.time));
        EXPECT_EQ(bitsOf(p.value), bitsOf(q.value));
        EXPECT_EQ(bitsOf(p.outHandle), bitsOf(q.outHandle));
    }
}

void expectSameCurves(const KXAnimationCurveMap& a, const KXAnimationCurveMap& b) {
    ASSERT_EQ(a.size(), b.size());
    for (const auto& entry : a.curves()) {
        expectSameCurve(entry.second.get(), b.find(entry.first));
    }
}

void expectSamePoint(const CCPoint& a, const CCPoint& b) {
    EXPECT_EQ(bitsOf(a.x), bitsOf(b.x));
    EXPECT_EQ(bitsOf(a.y), bitsOf(b.y));
}

void roundTrip(const KXMessagePackInterface& source, KXMessagePackInterface& target) {
    unpackValuesFromBytes(target, packValuesToBytes(source));
}

class RoundTripTest : public ::testing::Test {
protected:
    void SetUp() override { installAttributeKeyTable(); }
    void TearDown() override { KXMessagePackMap::resetKeyState(); }
};

template <class Attribute, class Draw> void scalarRoundTrip(uint32_t seed, Draw draw, bool compareBits) {
    Random random(seed);
    for (int n = 0; n < kCases; ++n) {
        Attribute source("a", nullptr);
        source.setValue(draw(random), true);
        source.setVariableValue(draw(random));
        source.setEmptyAllowed(true);
        source.setEmpty(random.coin());
        const size_t curves = random.below(3);
        for (size_t i = 0; i < curves; ++i) {
            source.setAnimationCurves({random.curve()}, random.state());
        }
        Attribute target("a", nullptr);
        target.setEmptyAllowed(true);
        roundTrip(source, target);
        if (compareBits) {
            EXPECT_EQ(bitsOf(static_cast<float>(source.value())), bitsOf(static_cast<float>(target.value())));
            EXPECT_EQ(bitsOf(static_cast<float>(source.variableValue())),
                      bitsOf(static_cast<float>(target.variableValue())));
        } else {
            EXPECT_EQ(source.value(), target.value());
            EXPECT_EQ(source.variableValue(), target.variableValue());
        }
        EXPECT_EQ(source.isEmpty(), target.isEmpty());
        expectSameCurves(source.curves(), target.curves());
        if (::testing::Test::HasFailure()) {
            FAIL() << "case " << n;
        }
    }
}

} // namespace

TEST_F(RoundTripTest, Scalars) {
    scalarRoundTrip<KXAttributeInt>(
        1, [](Random& r) { return r.integer(); }, false);
    scalarRoundTrip<KXAttributeUInt>(
        2, [](Random& r) { return r.bits(); }, false);
    scalarRoundTrip<KXAttributeFloat>(
        3, [](Random& r) { return r.real(); }, true);
    scalarRoundTrip<KXAttributeBool>(
        4, [](Random& r) { return r.coin(); }, false);
    scalarRoundTrip<KXAttributeKey>(
        5, [](Random& r) { return r.integer(); }, false);
}

TEST_F(RoundTripTest, Enum) {
    Random random(6);
    for (int n = 0; n < kCases; ++n) {
        KXAttributeFrameEdgeState source("a", nullptr);
        source.setValue(static_cast<KXObjectFrameEdgeState>(random.integer()), true);
        KXAttributeFrameEdgeState target("a", nullptr);
        roundTrip(source, target);
        ASSERT_EQ(source.intValue(), target.intValue()) << "case " << n;
    }
}

TEST_F(RoundTripTest, Points) {
    Random random(7);
    for (int n = 0; n < kCases; ++n) {
        KXAttributePoint source("a", nullptr);
        source.setValue(CCPoint(random.real(), random.real()), true);
        source.setVariableValue(CCPoint(random.real(), random.real()));
        source.setEmptyAllowed(true);
        source.setEmpty(random.coin(), true);
        const size_t curves = random.below(3);
        for (size_t i = 0; i < curves; ++i) {
            source.setAnimationCurves({random.coin() ? random.curve() : nullptr, random.curve()},
                                      random.state());
        }
        KXAttributePoint target("a", nullptr);
        target.setEmptyAllowed(true);
        roundTrip(source, target);
        expectSamePoint(source.value(), target.value());
        expectSamePoint(source.variableValue(), target.variableValue());
        EXPECT_EQ(source.isXEmpty(), target.isXEmpty());
        EXPECT_EQ(source.isYEmpty(), target.isYEmpty());
        expectSameCurves(source.curvesX(), target.curvesX());
        expectSameCurves(source.curvesY(), target.curvesY());
        if (HasFailure()) {
            FAIL() << "case " << n;
        }
    }
}

TEST_F(RoundTripTest, StringsKeepEveryByte) {
    Random random(8);
    for (int n = 0; n < kCases; ++n) {
        KXAttributeString source("a", nullptr);
        source.setValue(random.text(), true);
        KXAttributeStringList target("a", nullptr);
        target.setMaximumLength(1); // unpacking ignores the limit
        roundTrip(source, target);
        ASSERT_EQ(source.value(), target.value()) << "case " << n;
    }
}

TEST_F(RoundTripTest, RectsSizesAndColours) {
    Random random(9);
    for (int n = 0; n < kCases; ++n) {
        KXAttributeRect rect("a", nullptr);
        rect.setValue(CCRect(random.real(), random.real(), random.real(), random.real()), true);
        KXAttributeRect rectCopy("a", nullptr);
        roundTrip(rect, rectCopy);
        expectSamePoint(rect.value().origin, rectCopy.value().origin);
        EXPECT_EQ(bitsOf(rect.value().size.width), bitsOf(rectCopy.value().size.width));
        EXPECT_EQ(bitsOf(rect.value().size.height), bitsOf(rectCopy.value().size.height));

        KXAttributeSize size("a", nullptr);
        size.setValue(CCSize(random.real(), random.real()), true);
        KXAttributeSize sizeCopy("a", nullptr);
        roundTrip(size, sizeCopy);
        EXPECT_EQ(bitsOf(size.value().width), bitsOf(sizeCopy.value().width));
        EXPECT_EQ(bitsOf(size.value().height), bitsOf(sizeCopy.value().height));

        KXAttributeColor colour("a", nullptr);
        colour.setValue(ccColor4F{random.real(), random.real(), random.real(), random.real()}, true);
        KXAttributeColor colourCopy("a", nullptr);
        roundTrip(colour, colourCopy);
        EXPECT_EQ(bitsOf(colour.value().r), bitsOf(colourCopy.value().r));
        EXPECT_EQ(bitsOf(colour.value().g), bitsOf(colourCopy.value().g));
        EXPECT_EQ(bitsOf(colour.value().b), bitsOf(colourCopy.value().b));
        EXPECT_EQ(bitsOf(colour.value().a), bitsOf(colourCopy.value().a));
        if (HasFailure()) {
            FAIL() << "case " << n;
        }
    }
}

TEST_F(RoundTripTest, Gradients) {
    Random random(10);
    for (int n = 0; n < kCases; ++n) {
        KXAttributeGradient source("a", nullptr);
        const size_t stops = random.below(6);
        for (size_t i = 0; i < stops; ++i) {
            source.setColor(random.coin() ? random.real() : static_cast<float>(random.below(3)) / 2,
                            ccColor4F{random.real(), random.real(), random.real(), random.real()}, true);
        }
        KXAttributeGradient target("a", nullptr);
        roundTrip(source, target);
        ASSERT_EQ(source.stops().size(), target.stops().size()) << "case " << n;
        for (const auto& stop : source.stops()) {
            auto found = target.stops().find(stop.first);
            ASSERT_NE(found, target.stops().end()) << "case " << n;
            EXPECT_EQ(bitsOf(stop.first), bitsOf(found->first));
            EXPECT_EQ(bitsOf(stop.second.r), bitsOf(found->second.r));
            EXPECT_EQ(bitsOf(stop.second.g), bitsOf(found->second.g));
            EXPECT_EQ(bitsOf(stop.second.b), bitsOf(found->second.b));
            EXPECT_EQ(bitsOf(stop.second.a), bitsOf(found->second.a));
        }
        if (HasFailure()) {
            FAIL() << "case " << n;
        }
    }
}
