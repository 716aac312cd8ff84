// Point attributes: per-axis limits, empty flags and their notifications, per-axis curves,
// the stored map and the random variance.
#include <cfloat>
#include <cstdlib>

#include <gtest/gtest.h>

#include "base/CCDictionary.h"
#include "base/CCGeometry.h"
#include "base/CCString.h"
#include "model/attributes/KXAttributePoint.h"
#include "support/attribute_test_support.h"
#include "support/model_test_models.h"
#include "support/owned_attribute_test.h"

using cocos2d::CCPoint;

namespace {

class PointAttributeTest : public OwnedAttributeTest {};

KXAnimationCurve* constantCurve(float value) {
    auto* curve = new KXAnimationCurve();
    curve->addPoint(value, 0);
    return curve;
}

bool storedFlag(const KXBaseAttributePoint& attribute, const char* key) {
    return ReadMap(packValuesToBytes(attribute))[key]->via.boolean;
}

} // namespace

TEST_F(PointAttributeTest, SetValueClampsEachAxis) {
    struct Case {
        CCPoint input;
        bool silent;
        CCPoint expected;
        size_t notifications;
    };
    const Case cases[] = {
        {CCPoint(5, 500), false, CCPoint(5, 100), 1},
        {CCPoint(5, 500), false, CCPoint(5, 100), 0}, // same result again
        {CCPoint(-3, 50), false, CCPoint(0, 50), 1},
        {CCPoint(11, -1), true, CCPoint(10, 0), 0},
    };
    KXAttributePoint attribute("Position", owner.get());
    attribute.setMinimum(CCPoint(0, 0));
    attribute.setMaximum(CCPoint(10, 100));
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        observer.events.clear();
        attribute.setValue(cases[i].input, cases[i].silent);
        EXPECT_EQ(attribute.value(), cases[i].expected) << "case " << i;
        EXPECT_EQ(notifications(), cases[i].notifications) << "case " << i;
    }
}

TEST_F(PointAttributeTest, FreshAttributeTakesAnyFiniteValue) {
    KXAttributePoint attribute("Scale", nullptr);
    EXPECT_EQ(attribute.minimum(), CCPoint(-FLT_MAX, -FLT_MAX));
    EXPECT_EQ(attribute.maximum(), CCPoint(FLT_MAX, FLT_MAX));
    attribute.setValue(CCPoint(-FLT_MAX, 3e38f));
    EXPECT_EQ(attribute.value(), CCPoint(-FLT_MAX, 3e38f));
}

TEST_F(PointAttributeTest, EmptyFlagsCountOnlyWhileAllowed) {
    KXAttributePoint attribute("Position", owner.get());
    attribute.setEmpty(true);
    EXPECT_EQ(notifications(), 0u);
    EXPECT_FALSE(attribute.isXEmpty());
    EXPECT_FALSE(attribute.isYEmpty());
    EXPECT_TRUE(storedFlag(attribute, "isXEmpty"));
    attribute.setEmptyAllowed(true);
    EXPECT_TRUE(attribute.isXEmpty());
    EXPECT_TRUE(attribute.isYEmpty());
    EXPECT_EQ(notifications(), 0u);

    attribute.setEmpty(false);
    EXPECT_EQ(notifications(), 1u);
    attribute.setEmpty(false);
    EXPECT_EQ(notifications(), 1u);
    attribute.setEmpty(true, true);
    EXPECT_EQ(notifications(), 1u);
    // Both flags were set while allowed: both cleared, one notification each.
    attribute.setEmptyAllowed(false);
    EXPECT_EQ(notifications(), 3u);
    EXPECT_FALSE(storedFlag(attribute, "isXEmpty"));
    EXPECT_FALSE(storedFlag(attribute, "isYEmpty"));
}

TEST_F(PointAttributeTest, DisallowingWhileAlreadyOffClearsOnlyTheXFlag) {
    KXAttributePoint attribute("Position", owner.get());
    attribute.setEmpty(true);
    attribute.setEmptyAllowed(false);
    EXPECT_EQ(notifications(), 0u);
    EXPECT_FALSE(storedFlag(attribute, "isXEmpty"));
    EXPECT_TRUE(storedFlag(attribute, "isYEmpty"));
}

TEST_F(PointAttributeTest, PacksFourEntriesWithoutCurves) {
    KXAttributePoint attribute("Position", nullptr);
    attribute.setValue(CCPoint(1.5f, -2));
    attribute.setVariableValue(CCPoint(3, 4));
    ReadMap plain(packValuesToBytes(attribute));
    EXPECT_EQ(plain.keyNames(), (std::set<std::string>{"value", "variableValue", "isXEmpty", "isYEmpty"}));
    EXPECT_EQ(plain["value"]->as<std::vector<float>>(), (std::vector<float>{1.5f, -2}));
    EXPECT_EQ(plain["variableValue"]->as<std::vector<float>>(), (std::vector<float>{3, 4}));
    EXPECT_EQ(plain["value"]->via.array.ptr[0].type, msgpack::type::FLOAT32);

    attribute.setAnimationCurves({nullptr, constantCurve(2)}, 0);
    ReadMap animated(packValuesToBytes(attribute));
    EXPECT_EQ(animated.keyNames(),
              (std::set<std::string>{"value", "variableValue", "isXEmpty", "isYEmpty", "animationsY"}));
}

TEST_F(PointAttributeTest, UnpackReadsFlagsRawAndKeepsCurvesOnAnEmptyList) {
    KXAttributePoint attribute("Position", nullptr);
    attribute.setMaximum(CCPoint(1, 1));
    KXAnimationCurve* x = constantCurve(7);
    attribute.setAnimationCurves({x, nullptr}, 3);
    MapWriter writer(4);
    writer.key("value").pack(std::vector<int>{40, -2});
    writer.key("isXEmpty").pack(true);
    writer.key("isYEmpty").pack(false);
    writer.key("animationsX").pack_array(0);
    unpackValuesFromBytes(attribute, writer.bytes());
    EXPECT_EQ(attribute.value(), CCPoint(40, -2)); // not clamped
    EXPECT_TRUE(storedFlag(attribute, "isXEmpty"));
    EXPECT_FALSE(attribute.isXEmpty());
    EXPECT_EQ(attribute.animationCurves(3), std::vector<KXAnimationCurve*>{x});

    MapWriter wrong(1);
    wrong.key("variableValue").pack(std::vector<float>{1, 2, 3});
    EXPECT_THROW(unpackValuesFromBytes(attribute, wrong.bytes()), msgpack::type_error);
}

TEST_F(PointAttributeTest, CurvesPerAxisAndKey) {
    KXAttributePoint attribute("Position", owner.get());
    KXAnimationCurve* y = constantCurve(-4);
    attribute.setAnimationCurves({nullptr, y}, 2);
    EXPECT_EQ(attribute.animationCurves(2), std::vector<KXAnimationCurve*>{y});
    EXPECT_EQ(attribute.animatedValue(1.0f, 2), CCPoint(0, -4));
    EXPECT_EQ(attribute.animatedValue(1.0f, 3), CCPoint(0, 0));

    KXAnimationCurve* x = constantCurve(6);
    observer.events.clear();
    attribute.setAnimationCurves({x, y}, 2);
    EXPECT_EQ(notifications(), 2u); // y was the same object: a notification only
    EXPECT_EQ(attribute.animationCurves(2), (std::vector<KXAnimationCurve*>{x, y}));
    EXPECT_EQ(attribute.animatedValue(1.0f, 2), CCPoint(6, -4));
}

TEST_F(PointAttributeTest, AShortCurveListUpdatesWhatItNamesWithoutThrowing) {
    KXAttributePoint attribute("Position", owner.get());
    KXAnimationCurve* y = constantCurve(1);
    attribute.setAnimationCurves({constantCurve(0), y}, 0);
    observer.events.clear();
    KXAnimationCurve* x = constantCurve(5);
    EXPECT_NO_THROW(attribute.setAnimationCurves({x}, 0));
    EXPECT_EQ(attribute.animationCurves(0), (std::vector<KXAnimationCurve*>{x, y}));
    EXPECT_EQ(notifications(), 1u);
    EXPECT_NO_THROW(attribute.setAnimationCurves({}, 0));
    EXPECT_EQ(notifications(), 1u);
}

TEST_F(PointAttributeTest, CopyDropsFlagsSetWhileNotAllowedAndClonesCurves) {
    KXAttributePoint source("Position", owner.get());
    source.setEmpty(true);
    source.setMinimum(CCPoint(-1, -2));
    source.setValue(CCPoint(3, 4));
    KXAnimationCurve* x = constantCurve(9);
    source.setAnimationCurves({x, nullptr}, 1);
    std::unique_ptr<KXBaseAttribute> clone(source.cloneWithName("Copy"));
    auto* copy = static_cast<KXAttributePoint*>(clone.get());
    EXPECT_STREQ(copy->className(), "KXAttributePoint");
    EXPECT_EQ(copy->owner(), owner.get());
    EXPECT_EQ(copy->value(), CCPoint(3, 4));
    EXPECT_EQ(copy->minimum(), CCPoint(-1, -2));
    copy->setEmptyAllowed(true);
    EXPECT_FALSE(copy->isXEmpty());
    EXPECT_FALSE(copy->isYEmpty());
    ASSERT_EQ(copy->animationCurves(1).size(), 1u);
    EXPECT_NE(copy->animationCurves(1)[0], x);
    EXPECT_EQ(copy->animatedValue(0.0f, 1), CCPoint(9, 0));

    source.setEmptyAllowed(true);
    std::unique_ptr<KXBaseAttribute> second(source.cloneWithName("Second"));
    EXPECT_TRUE(static_cast<KXAttributePoint*>(second.get())->isXEmpty());
}

TEST_F(PointAttributeTest, RandomValueDrawsYFirstWithin15Bits) {
    KXAttributePoint attribute("Position", nullptr);
    attribute.setValue(CCPoint(10, 20));
    EXPECT_EQ(attribute.randomValue(), CCPoint(10, 20));

    attribute.setVariableValue(CCPoint(1, 100));
    std::srand(2024);
    const int first = std::rand() >> 16; // glibc: 31-bit results, top 15 bits kept
    const int second = std::rand() >> 16;
    std::srand(2024);
    const CCPoint r = attribute.randomValue();
    EXPECT_FLOAT_EQ(r.y, 20 + (first / 32767.0f * 2 - 1) * 100);
    EXPECT_FLOAT_EQ(r.x, 10 + (second / 32767.0f * 2 - 1) * 1);
}

TEST_F(PointAttributeTest, DictionaryFormsClampOnLoadAndKeepAOneAxisVariance) {
    KXAttributePoint attribute("Position", owner.get());
    attribute.setMinimum(CCPoint(0, 0));
    attribute.setMaximum(CCPoint(10, 100));
    cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
    dictionary->setObject(cocos2d::CCString::create("{5.000,500.000}"), "value");
    dictionary->setObject(cocos2d::CCString::create("1"), "isXEmpty");
    dictionary->setObject(cocos2d::CCString::create("1"), "isYEmpty");
    attribute.loadValueFromDictionary(dictionary);
    EXPECT_EQ(attribute.value(), CCPoint(5, 100));
    EXPECT_TRUE(storedFlag(attribute, "isXEmpty"));
    EXPECT_FALSE(storedFlag(attribute, "isYEmpty")); // read only while empty values are allowed
    EXPECT_EQ(notifications(), 0u);

    attribute.setVariableValue(CCPoint(2, 0));
    cocos2d::CCDictionary* saved = attribute.saveValueToDictionary();
    EXPECT_EQ(saved->valueForKey("value")->getString(), "{5.000,100.000}");
    EXPECT_EQ(saved->valueForKey("variableValue")->getString(), "{2.000,0.000}");
    EXPECT_EQ(saved->valueForKey("isXEmpty")->getString(), "1");
    EXPECT_EQ(saved->objectForKey("animationsX"), nullptr);
}
