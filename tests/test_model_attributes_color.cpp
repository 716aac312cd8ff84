// Colour and gradient attributes: the stored maps, exact stop lookup (with -0.0 as 0.0),
// notifications and the dictionary forms.
#include <cmath>
#include <functional>
#include <limits>
#include <map>

#include <gtest/gtest.h>

#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeGradient.h"
#include "support/attribute_test_support.h"
#include "support/model_test_models.h"
#include "support/owned_attribute_test.h"

using cocos2d::ccColor4F;

namespace {

class ColorAttributeTest : public OwnedAttributeTest {};

void expectColor(const ccColor4F& c, float r, float g, float b, float a) {
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.a, a);
}

const ccColor4F kMissing{0, 0, 0, 1};

// One stop element {"pos": position, "color": [r, g, b, a]}.
void packStop(msgpack::packer<msgpack::sbuffer>& packer, float position, std::vector<float> color) {
    packer.pack_map(2);
    packer.pack(KXMessagePackMap::requireKeyId("pos"));
    packer.pack(position);
    packer.pack(KXMessagePackMap::requireKeyId("color"));
    packer.pack(color);
}

} // namespace

TEST_F(ColorAttributeTest, ColourValueAcceptsMixedNumbersAndExactlyFour) {
    struct Case {
        std::function<void(msgpack::packer<msgpack::sbuffer>&)> write;
        bool fails;
    };
    const Case cases[] = {
        {[](auto& p) {
             p.pack_array(4);
             p.pack(1);
             p.pack(0.5);
             p.pack(0.0f);
             p.pack(1u);
         },
         false},
        {[](auto& p) {
             p.pack(std::vector<float>{1, 0.5f, 0});
         },
         true},
        {[](auto& p) {
             p.pack(std::vector<float>{1, 0.5f, 0, 1, 1});
         },
         true},
        {[](auto& p) {
             p.pack_array(4);
             p.pack(1);
             p.pack("g");
             p.pack(0);
             p.pack(1);
         },
         true},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        KXAttributeColor colour("Color", owner.get());
        MapWriter writer(1);
        cases[i].write(writer.key("value"));
        if (cases[i].fails) {
            EXPECT_THROW(unpackValuesFromBytes(colour, writer.bytes()), msgpack::type_error) << "case " << i;
        } else {
            unpackValuesFromBytes(colour, writer.bytes());
            expectColor(colour.value(), 1, 0.5f, 0, 1);
        }
    }
    EXPECT_TRUE(observer.events.empty());
}

TEST_F(ColorAttributeTest, ColourPacksFourFloatsAndKeepsItsValueWithoutOne) {
    KXAttributeColor colour("Color", nullptr);
    expectColor(colour.value(), 0, 0, 0, 0);
    colour.setValue(ccColor4F{0.25f, 1, 0, 0.5f});
    ReadMap packed(packValuesToBytes(colour));
    EXPECT_EQ(packed.keyNames(), std::set<std::string>{"value"});
    EXPECT_EQ(packed["value"]->as<std::vector<float>>(), (std::vector<float>{0.25f, 1, 0, 0.5f}));
    EXPECT_EQ(packed["value"]->via.array.ptr[3].type, msgpack::type::FLOAT32);

    MapWriter other(1);
    other.key("enum").pack(3);
    unpackValuesFromBytes(colour, other.bytes());
    expectColor(colour.value(), 0.25f, 1, 0, 0.5f);

    std::unique_ptr<KXBaseAttribute> copy(colour.cloneWithName("Tint"));
    EXPECT_STREQ(copy->className(), "KXAttributeColor");
    expectColor(static_cast<KXAttributeColor*>(copy.get())->value(), 0.25f, 1, 0, 0.5f);
}

TEST_F(ColorAttributeTest, GradientPacksOneMapPerStopAndNothingWithoutStops) {
    KXAttributeGradient gradient("Color", nullptr);
    EXPECT_TRUE(ReadMap(packValuesToBytes(gradient)).keyNames().empty());

    gradient.setColor(0.0f, ccColor4F{1, 1, 1, 1});
    gradient.setColor(1.0f, ccColor4F{0, 0, 0, 1});
    ReadMap packed(packValuesToBytes(gradient));
    EXPECT_EQ(packed.keyNames(), std::set<std::string>{"gradients"});
    const msgpack::object* list = packed["gradients"];
    ASSERT_EQ(list->type, msgpack::type::ARRAY);
    ASSERT_EQ(list->via.array.size, 2u);
    std::map<float, std::vector<float>> stops;
    for (uint32_t i = 0; i < 2; ++i) {
        KXMessagePackMap element = KXMessagePackMap::fromObject(list->via.array.ptr[i]);
        EXPECT_EQ(element.size(), 2u);
        EXPECT_EQ(element.find("pos")->type, msgpack::type::FLOAT32);
        float position = -1;
        std::vector<float> color;
        element.get("pos", position);
        element.get("color", color);
        stops[position] = color;
    }
    EXPECT_EQ(stops, (std::map<float, std::vector<float>>{{0.0f, {1, 1, 1, 1}}, {1.0f, {0, 0, 0, 1}}}));
}

TEST_F(ColorAttributeTest, GradientUnpackAddsNamedStopsAndKeepsTheOthers) {
    KXAttributeGradient gradient("Color", owner.get());
    gradient.setColor(0.5f, ccColor4F{0.5f, 0.5f, 0.5f, 0.5f}, true);
    gradient.setColor(1.0f, ccColor4F{9, 9, 9, 9}, true);
    MapWriter writer(1);
    auto& packer = writer.key("gradients");
    packer.pack_array(3);
    packStop(packer, 1.0f, {0, 0, 1, 1});
    packer.pack_map(1); // no "pos": position 0
    packer.pack(KXMessagePackMap::requireKeyId("color"));
    packer.pack(std::vector<float>{1, 0, 0, 1});
    packer.pack_map(1); // no "color": a new stop stays 0, 0, 0, 0
    packer.pack(KXMessagePackMap::requireKeyId("pos"));
    packer.pack(0.75f);
    unpackValuesFromBytes(gradient, writer.bytes());
    EXPECT_EQ(gradient.stops().size(), 4u);
    expectColor(gradient.colorAt(0.5f, kMissing), 0.5f, 0.5f, 0.5f, 0.5f);
    expectColor(gradient.colorAt(1.0f, kMissing), 0, 0, 1, 1);
    expectColor(gradient.colorAt(0.0f, kMissing), 1, 0, 0, 1);
    expectColor(gradient.colorAt(0.75f, kMissing), 0, 0, 0, 0);
    expectColor(gradient.colorAt(0.25f, kMissing), 0, 0, 0, 1); // never interpolated
    EXPECT_TRUE(observer.events.empty());

    MapWriter bad(1);
    auto& badPacker = bad.key("gradients");
    badPacker.pack_array(1);
    packStop(badPacker, 0.0f, {1, 1, 1});
    EXPECT_THROW(unpackValuesFromBytes(gradient, bad.bytes()), msgpack::type_error);
}

TEST_F(ColorAttributeTest, GradientPositionsCompareExactlyWithMinusZeroAsZero) {
    KXAttributeGradient gradient("Color", owner.get());
    gradient.setColor(0.0f, ccColor4F{1, 1, 1, 1}, true);
    gradient.setColor(-0.0f, ccColor4F{0, 1, 0, 1}, true);
    EXPECT_EQ(gradient.stops().size(), 1u);
    expectColor(gradient.colorAt(0.0f, kMissing), 0, 1, 0, 1);
    EXPECT_TRUE(gradient.hasStop(-0.0f));
    EXPECT_FALSE(gradient.hasStop(1e-30f));

    // Repeated NaN positions from bad data update one stop instead of piling up.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    gradient.setColor(nan, ccColor4F{1, 0, 0, 1}, true);
    gradient.setColor(nan, ccColor4F{0, 0, 1, 1}, true);
    EXPECT_EQ(gradient.stops().size(), 2u);
    expectColor(gradient.colorAt(nan, kMissing), 0, 0, 1, 1);
}

TEST_F(ColorAttributeTest, GradientSetColorNotifiesUnlessSilent) {
    KXAttributeGradient gradient("Color", owner.get());
    gradient.setColor(0.5f, ccColor4F{1, 1, 1, 1}, true);
    EXPECT_TRUE(observer.events.empty());
    gradient.setColor(0.5f, ccColor4F{1, 0, 1, 1}, false);
    EXPECT_EQ(observer.events, std::vector<std::string>{"attribute Color 0"});
}

TEST_F(ColorAttributeTest, GradientCloneCopiesTheStops) {
    KXAttributeGradient gradient("Color Variation", owner.get());
    gradient.setColor(1.0f, ccColor4F{0.1f, 0.2f, 0.3f, 0.4f}, true);
    std::unique_ptr<KXBaseAttribute> clone(gradient.clone("Copy", nullptr));
    EXPECT_STREQ(clone->className(), "KXAttributeGradient");
    EXPECT_EQ(clone->typeId(), KXAttributeGradient::staticType());
    auto* copy = static_cast<KXAttributeGradient*>(clone.get());
    gradient.setColor(1.0f, ccColor4F{1, 1, 1, 1}, true);
    expectColor(copy->colorAt(1.0f, kMissing), 0.1f, 0.2f, 0.3f, 0.4f);
}

TEST_F(ColorAttributeTest, DictionaryForms) {
    KXAttributeColor colour("Color", owner.get());
    colour.setValue(ccColor4F{0.5f, 0.25f, 1, 1}, true);
    cocos2d::CCDictionary* saved = colour.saveValueToDictionary();
    EXPECT_EQ(saved->valueForKey("r")->getString(), "0.500000");
    EXPECT_EQ(saved->valueForKey("g")->getString(), "0.250000");
    cocos2d::CCDictionary* partial = cocos2d::CCDictionary::create();
    partial->setObject(cocos2d::CCString::create("0.75"), "g");
    colour.loadValueFromDictionary(partial);
    expectColor(colour.value(), 0, 0.75f, 0, 0);

    KXAttributeGradient gradient("Color", owner.get());
    gradient.setColor(0.5f, ccColor4F{1, 0, 0, 1}, true);
    KXAttributeGradient loaded("Color", owner.get());
    loaded.loadValueFromDictionary(gradient.saveValueToDictionary());
    expectColor(loaded.colorAt(0.5f, kMissing), 1, 0, 0, 1);
    EXPECT_EQ(loaded.stops().size(), 1u);
    EXPECT_TRUE(observer.events.empty());
}
