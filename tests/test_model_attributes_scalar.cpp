// Scalar and enum attributes: limits on set but not on unpack, notification rules, the stored
// map, empty flags, curves and copies.
#include <cfloat>
#include <climits>

#include <gtest/gtest.h>

#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "support/attribute_test_support.h"
#include "support/model_test_models.h"
#include "support/owned_attribute_test.h"

namespace {

class ScalarAttributeTest : public OwnedAttributeTest {};

template <class T> struct SetCase {
    T minimum;
    T maximum;
    T initial;
    T input;
    bool silent;
    T expected;
    size_t notifications;
};

template <class Attribute>
void runSetCases(KXModel* owner, RecordingObserver& observer,
                 const std::vector<SetCase<typename Attribute::ValueType>>& cases) {
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        Attribute attribute("Speed", owner);
        attribute.setValue(c.initial, true);
        attribute.setLimits(c.minimum, c.maximum);
        observer.events.clear();
        attribute.setValue(c.input, c.silent);
        EXPECT_EQ(attribute.value(), c.expected) << "case " << i;
        EXPECT_EQ(observer.events.size(), c.notifications) << "case " << i;
    }
}

} // namespace

TEST_F(ScalarAttributeTest, IntSetRaisesToMinimumThenLowersToMaximum) {
    runSetCases<KXAttributeInt>(owner.get(), observer,
                                {
                                    {0, 100, 0, 50, false, 50, 1},
                                    {0, 100, 0, 150, false, 100, 1},
                                    {0, 100, 0, -5, false, 0, 0}, // clamped onto the held value
                                    {0, 100, 100, 150, false, 100, 0},
                                    {0, 100, 0, 50, true, 50, 0},
                                    {10, 5, 0, 7, false, 5, 1}, // crossed limits: the maximum wins
                                    {10, 5, 0, -70, false, 5, 1},
                                    {INT_MIN, INT_MAX, 0, INT_MIN, false, INT_MIN, 1},
                                });
}

TEST_F(ScalarAttributeTest, UIntFloatAndBoolSetters) {
    runSetCases<KXAttributeUInt>(owner.get(), observer,
                                 {
                                     {10, 20, 15, 5, false, 10, 1},
                                     {0, UINT_MAX, 0, 4000000000u, false, 4000000000u, 1},
                                     {10, 20, 20, 21, true, 20, 0},
                                 });
    runSetCases<KXAttributeFloat>(owner.get(), observer,
                                  {
                                      {-1.0f, 1.0f, 0.0f, 2.5f, false, 1.0f, 1},
                                      {-1.0f, 1.0f, 0.0f, -0.25f, false, -0.25f, 1},
                                      {-1.0f, 1.0f, 0.0f, -0.0f, false, 0.0f, 0}, // -0.0 equals 0.0
                                      {-FLT_MAX, FLT_MAX, 0.0f, 3e38f, false, 3e38f, 1},
                                  });
    runSetCases<KXAttributeBool>(owner.get(), observer,
                                 {
                                     {false, true, false, true, false, true, 1},
                                     {false, false, false, true, false, false, 0},
                                     {true, true, true, false, false, true, 0},
                                     {false, true, true, true, false, true, 0},
                                 });
}

TEST_F(ScalarAttributeTest, ConstructorDefaults) {
    KXAttributeInt integer("i", nullptr);
    EXPECT_EQ(integer.minimum(), INT_MIN);
    EXPECT_EQ(integer.maximum(), INT_MAX);
    KXAttributeUInt unsignedInteger("u", nullptr);
    EXPECT_EQ(unsignedInteger.minimum(), 0u);
    EXPECT_EQ(unsignedInteger.maximum(), UINT_MAX);
    KXAttributeFloat real("f", nullptr, 1);
    EXPECT_EQ(real.minimum(), -FLT_MAX);
    EXPECT_EQ(real.maximum(), FLT_MAX);
    EXPECT_EQ(real.flags(), 1u);
    KXAttributeBool flag("b", nullptr);
    EXPECT_FALSE(flag.minimum());
    EXPECT_TRUE(flag.maximum());
    KXAttributeKey key("k", nullptr);
    EXPECT_EQ(key.value(), 0);
    EXPECT_EQ(key.maximum(), INT_MAX);
    EXPECT_FALSE(key.isEmpty());
}

TEST_F(ScalarAttributeTest, UnpackStoresAsReadButTheDictionaryFormClamps) {
    KXAttributeInt attribute("Lives", owner.get());
    attribute.setLimits(0, 100);
    MapWriter writer(2);
    writer.key("value").pack(500);
    writer.key("variableValue").pack(-7);
    unpackValuesFromBytes(attribute, writer.bytes());
    EXPECT_EQ(attribute.value(), 500);
    EXPECT_EQ(attribute.variableValue(), -7);
    EXPECT_TRUE(observer.events.empty());

    cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
    dictionary->setObject(cocos2d::CCString::create("500"), "value");
    dictionary->setObject(cocos2d::CCString::create("-7"), "variableValue");
    KXAttributeInt loaded("Lives", owner.get());
    loaded.setLimits(0, 100);
    loaded.loadValueFromDictionary(dictionary);
    EXPECT_EQ(loaded.value(), 100);
    EXPECT_EQ(loaded.variableValue(), 0);
    EXPECT_TRUE(observer.events.empty());
}

TEST_F(ScalarAttributeTest, UnpackKeepsMissingFieldsAndRejectsWrongTypes) {
    KXAttributeFloat attribute("Speed", nullptr);
    attribute.setValue(2.5f);
    attribute.setVariableValue(1.5f);
    attribute.setEmptyAllowed(true);
    attribute.setEmpty(true);
    MapWriter writer(1);
    writer.key("value").pack(3); // integers read as floats
    unpackValuesFromBytes(attribute, writer.bytes());
    EXPECT_EQ(attribute.value(), 3.0f);
    EXPECT_EQ(attribute.variableValue(), 1.5f);
    EXPECT_TRUE(attribute.isEmpty());

    MapWriter wrong(1);
    wrong.key("value").pack("fast");
    EXPECT_THROW(unpackValuesFromBytes(attribute, wrong.bytes()), msgpack::type_error);
    KXAttributeUInt count("Count", nullptr);
    MapWriter negative(1);
    negative.key("value").pack(-1);
    EXPECT_THROW(unpackValuesFromBytes(count, negative.bytes()), msgpack::type_error);
}

TEST_F(ScalarAttributeTest, PacksExactlyThreeKeysWithoutCurvesAndFourWithOne) {
    KXAttributeInt attribute("Depth", nullptr);
    attribute.setValue(-1);
    ReadMap plain(packValuesToBytes(attribute));
    EXPECT_EQ(plain.keyNames(), (std::set<std::string>{"value", "variableValue", "isEmpty"}));
    EXPECT_EQ(plain["value"]->type, msgpack::type::NEGATIVE_INTEGER);
    EXPECT_EQ(plain["variableValue"]->type, msgpack::type::POSITIVE_INTEGER);
    EXPECT_EQ(plain["isEmpty"]->type, msgpack::type::BOOLEAN);

    auto* curve = new KXAnimationCurve();
    curve->addPoint(1, 0);
    attribute.setAnimationCurves({curve}, 2);
    ReadMap animated(packValuesToBytes(attribute));
    EXPECT_EQ(animated.keyNames(),
              (std::set<std::string>{"value", "variableValue", "isEmpty", "animations"}));
    ASSERT_EQ(animated["animations"]->type, msgpack::type::ARRAY);
    ASSERT_EQ(animated["animations"]->via.array.size, 1u);
    KXMessagePackMap element = KXMessagePackMap::fromObject(animated["animations"]->via.array.ptr[0]);
    int state = 0;
    EXPECT_TRUE(element.get("state", state));
    EXPECT_EQ(state, 2);
}

TEST_F(ScalarAttributeTest, StoredValueEncodingsPerType) {
    KXAttributeFloat real("f", nullptr);
    real.setValue(0.5f);
    EXPECT_EQ(ReadMap(packValuesToBytes(real))["value"]->type, msgpack::type::FLOAT32);
    KXAttributeBool flag("b", nullptr);
    flag.setValue(true);
    ReadMap flagMap(packValuesToBytes(flag));
    EXPECT_EQ(flagMap["value"]->type, msgpack::type::BOOLEAN);
    EXPECT_TRUE(flagMap["value"]->via.boolean);
    KXAttributeUInt count("u", nullptr);
    count.setValue(4000000000u);
    ReadMap countMap(packValuesToBytes(count));
    EXPECT_EQ(countMap["value"]->type, msgpack::type::POSITIVE_INTEGER);
    EXPECT_EQ(countMap["value"]->via.u64, 4000000000u);
}

TEST_F(ScalarAttributeTest, EmptyNeedsBothFlagsAndCopiesDropAStrayFlag) {
    KXAttributeInt attribute("Limit", owner.get());
    attribute.setEmpty(true);
    EXPECT_FALSE(attribute.isEmpty());
    EXPECT_FALSE(ReadMap(packValuesToBytes(attribute))["isEmpty"]->via.boolean);

    std::unique_ptr<KXBaseAttribute> copy(attribute.cloneWithName("Copy"));
    auto* copied = static_cast<KXAttributeInt*>(copy.get());
    copied->setEmptyAllowed(true);
    EXPECT_FALSE(copied->isEmpty());
    attribute.setEmptyAllowed(true);
    EXPECT_TRUE(attribute.isEmpty());
    EXPECT_TRUE(ReadMap(packValuesToBytes(attribute))["isEmpty"]->via.boolean);
}

TEST_F(ScalarAttributeTest, SetAnimationCurvesReplacesAndAlwaysNotifies) {
    KXAttributeFloat attribute("Rotation", owner.get());
    auto* first = new KXAnimationCurve();
    first->addPoint(3, 0);
    attribute.setAnimationCurves({first}, 1);
    EXPECT_EQ(notifications(), 1u);
    attribute.setAnimationCurves({first}, 1);
    EXPECT_EQ(notifications(), 2u);
    EXPECT_EQ(attribute.animationCurves(1), std::vector<KXAnimationCurve*>{first});
    auto* second = new KXAnimationCurve();
    second->addPoint(8, 0);
    attribute.setAnimationCurves({second}, 1);
    EXPECT_EQ(notifications(), 3u);
    EXPECT_EQ(attribute.animatedValue(5.0f, 1), 8.0f);
    EXPECT_EQ(attribute.animatedValue(5.0f, 2), 0.0f);
    EXPECT_TRUE(attribute.animationCurves(2).empty());
    attribute.setAnimationCurves({}, 1);
    EXPECT_EQ(notifications(), 3u);
}

TEST_F(ScalarAttributeTest, UnpackAnimationsReplacesOnlyWhenTheListHasElements) {
    KXAttributeFloat attribute("Opacity", nullptr);
    auto* held = new KXAnimationCurve();
    held->addPoint(1, 0);
    attribute.setAnimationCurves({held}, 4);

    MapWriter empty(1);
    empty.key("animations").pack_array(0);
    unpackValuesFromBytes(attribute, empty.bytes());
    EXPECT_EQ(attribute.animationCurves(4), std::vector<KXAnimationCurve*>{held});

    MapWriter one(1);
    auto& packer = one.key("animations");
    packer.pack_array(1);
    packer.pack_map(2);
    packer.pack(KXMessagePackMap::requireKeyId("state"));
    packer.pack(6);
    packer.pack(KXMessagePackMap::requireKeyId("animation"));
    packer.pack_map(1);
    packer.pack(KXMessagePackMap::requireKeyId("points"));
    packer.pack(std::vector<std::vector<float>>{{0, 2}, {2, 2}});
    unpackValuesFromBytes(attribute, one.bytes());
    EXPECT_TRUE(attribute.animationCurves(4).empty());
    EXPECT_EQ(attribute.animatedValue(0.0f, 6), 2.0f);
}

TEST_F(ScalarAttributeTest, CloneKeepsClassLimitsAndDeepCopiesCurves) {
    KXAttributeKey key("Jump Key", owner.get());
    key.setLimits(0, 255);
    key.setValue(32);
    key.setVariableValue(3);
    auto* curve = new KXAnimationCurve();
    curve->addPoint(5, 0);
    key.setAnimationCurves({curve}, 0);
    std::unique_ptr<KXBaseAttribute> copy(key.clone("Fire Key", nullptr));
    EXPECT_STREQ(copy->className(), "KXAttributeKey");
    EXPECT_EQ(copy->typeId(), KXAttributeKey::staticType());
    auto* copied = static_cast<KXAttributeKey*>(copy.get());
    EXPECT_EQ(copied->name(), "Fire Key");
    EXPECT_EQ(copied->owner(), nullptr);
    EXPECT_EQ(copied->value(), 32);
    EXPECT_EQ(copied->variableValue(), 3);
    EXPECT_EQ(copied->maximum(), 255);
    ASSERT_EQ(copied->animationCurves(0).size(), 1u);
    EXPECT_NE(copied->animationCurves(0)[0], curve);
    EXPECT_EQ(copied->animatedValue(0.0f, 0), 5.0f);
}

TEST(ScalarAttributeIdentity, ClassNamesAndDistinctTypeIds) {
    KXAttributeInt i("a", nullptr);
    KXAttributeUInt u("a", nullptr);
    KXAttributeFloat f("a", nullptr);
    KXAttributeBool b("a", nullptr);
    KXAttributeKey k("a", nullptr);
    KXAttributeFrameEdgeState e("a", nullptr);
    const KXBaseAttribute* all[] = {&i, &u, &f, &b, &k, &e};
    const char* names[] = {"KXAttributeInt",  "KXAttributeUInt", "KXAttributeFloat",
                           "KXAttributeBool", "KXAttributeKey",  "KXAttributeFrameEdgeState"};
    std::set<uint32_t> ids;
    for (size_t n = 0; n < 6; ++n) {
        EXPECT_STREQ(all[n]->className(), names[n]);
        ids.insert(all[n]->typeId());
    }
    EXPECT_EQ(ids.size(), 6u);
}

TEST_F(ScalarAttributeTest, FloatRandomValueStaysWithinTheVariance) {
    KXAttributeFloat attribute("Interval", nullptr);
    attribute.setValue(10.0f);
    EXPECT_EQ(attribute.randomValue(), 10.0f);
    attribute.setVariableValue(2.0f);
    std::srand(99);
    for (int n = 0; n < 1000; ++n) {
        const float r = attribute.randomValue();
        ASSERT_GE(r, 8.0f);
        ASSERT_LE(r, 12.0f);
    }
}

TEST_F(ScalarAttributeTest, EnumReadsZeroWhenItsMapLacksEnum) {
    KXAttributeFrameEdgeState attribute("Object Frame State 1", owner.get());
    attribute.setValue(KXObjectFrameEdgeKill);
    EXPECT_EQ(notifications(), 1u);
    attribute.setValue(KXObjectFrameEdgeKill);
    EXPECT_EQ(notifications(), 1u);
    ReadMap packed(packValuesToBytes(attribute));
    EXPECT_EQ(packed.keyNames(), std::set<std::string>{"enum"});
    EXPECT_EQ(packed["enum"]->as<int>(), 2);

    MapWriter pushBack(1);
    pushBack.key("enum").pack(1);
    unpackValuesFromBytes(attribute, pushBack.bytes());
    EXPECT_EQ(attribute.value(), KXObjectFrameEdgePushBack);

    MapWriter other(1);
    other.key("value").pack(2);
    unpackValuesFromBytes(attribute, other.bytes());
    EXPECT_EQ(attribute.value(), KXObjectFrameEdgeFollow);
    EXPECT_EQ(notifications(), 1u);
    EXPECT_TRUE(attribute.animationCurves(0).empty());
}
