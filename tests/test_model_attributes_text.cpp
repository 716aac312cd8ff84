// String, string-list, rect and size attributes: the length limit (cut on whole UTF-8
// characters), unpacking uncut, the stored encodings and the dictionary forms.
#include <gtest/gtest.h>

#include "base/CCDictionary.h"
#include "base/CCGeometry.h"
#include "base/CCString.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeString.h"
#include "support/attribute_test_support.h"
#include "support/model_test_models.h"
#include "support/owned_attribute_test.h"

using cocos2d::CCRect;
using cocos2d::CCSize;

namespace {

class TextAttributeTest : public OwnedAttributeTest {};

} // namespace

TEST_F(TextAttributeTest, SetValueCutsToTheLimitOnWholeCharacters) {
    struct Case {
        uint32_t limit;
        std::string input;
        std::string expected;
    };
    const std::string euro = "\xE2\x82\xAC";     // 3 bytes
    const std::string clef = "\xF0\x9D\x84\x9E"; // 4 bytes
    const Case cases[] = {
        {3, "abcdef", "abc"},
        {6, "abcdef", "abcdef"},
        {0, "abc", ""},
        {4, "ab" + euro + "x", "ab"}, // the euro sign would be split
        {5, "ab" + euro + "x", "ab" + euro},
        {3, clef, ""},
        {4, clef + "a", clef},
        {2, "\x80\x80\x80\x80\x80\x80", "\x80\x80"}, // not UTF-8: cut at the limit
    };
    for (const Case& c : cases) {
        KXAttributeString attribute("Text", nullptr);
        attribute.setMaximumLength(c.limit);
        attribute.setValue(c.input);
        EXPECT_EQ(attribute.value(), c.expected) << "limit " << c.limit;
    }
}

TEST_F(TextAttributeTest, NotifiesOnlyOnARealChange) {
    KXAttributeString attribute("Title", owner.get());
    attribute.setMaximumLength(3);
    attribute.setValue("abcdef");
    EXPECT_EQ(observer.events.size(), 1u);
    attribute.setValue("abc");    // already held
    attribute.setValue("abcxyz"); // cut to the held value
    attribute.setValue("zz", true);
    EXPECT_EQ(observer.events.size(), 1u);
    EXPECT_EQ(attribute.value(), "zz");
}

TEST_F(TextAttributeTest, UnpackedTextIsHeldWhole) {
    KXAttributeString attribute("Title", owner.get());
    attribute.setMaximumLength(3);
    MapWriter writer(1);
    writer.key("value").pack(std::string("abcdef"));
    unpackValuesFromBytes(attribute, writer.bytes());
    EXPECT_EQ(attribute.value(), "abcdef");
    EXPECT_TRUE(observer.events.empty());

    MapWriter other(1);
    other.key("enum").pack(1);
    unpackValuesFromBytes(attribute, other.bytes());
    EXPECT_EQ(attribute.value(), "abcdef");

    MapWriter wrong(1);
    wrong.key("value").pack(12);
    EXPECT_THROW(unpackValuesFromBytes(attribute, wrong.bytes()), msgpack::type_error);
}

TEST_F(TextAttributeTest, EmptyStringIsStillPacked) {
    KXAttributeStringList attribute("Action", nullptr);
    ReadMap read(packValuesToBytes(attribute));
    EXPECT_EQ(read.keyNames(), std::set<std::string>{"value"});
    EXPECT_EQ(read["value"]->type, msgpack::type::STR);
    EXPECT_EQ(read["value"]->via.str.size, 0u);
}

TEST_F(TextAttributeTest, CopiesKeepTheLimitAndClass) {
    KXAttributeStringList source("Action", owner.get());
    source.setMaximumLength(8);
    source.setValue("Restart");
    std::unique_ptr<KXBaseAttribute> clone(source.clone("Other", nullptr));
    EXPECT_STREQ(clone->className(), "KXAttributeStringList");
    auto* copy = static_cast<KXAttributeStringList*>(clone.get());
    EXPECT_EQ(copy->maximumLength(), 8u);
    EXPECT_EQ(copy->value(), "Restart");
    EXPECT_EQ(KXAttributeString("s", nullptr).maximumLength(), 2147483647u);
}

TEST_F(TextAttributeTest, RectAndSizeStoredForms) {
    struct Case {
        std::vector<double> stored;
        bool fails;
    };
    const Case rectCases[] = {
        {{1, 2.5, 3, 4}, false},
        {{1, 2, 3}, true},
        {{1, 2, 3, 4, 5}, true},
    };
    for (const Case& c : rectCases) {
        KXAttributeRect rect("Frame", nullptr);
        MapWriter writer(1);
        writer.key("value").pack(c.stored);
        if (c.fails) {
            EXPECT_THROW(unpackValuesFromBytes(rect, writer.bytes()), msgpack::type_error) << c.stored.size();
        } else {
            unpackValuesFromBytes(rect, writer.bytes());
            EXPECT_EQ(rect.value(), CCRect(1, 2.5f, 3, 4));
        }
    }
    KXAttributeRect rect("Frame", nullptr);
    rect.setValue(CCRect(-1, 2, 30, 40));
    ReadMap packed(packValuesToBytes(rect));
    EXPECT_EQ(packed["value"]->as<std::vector<float>>(), (std::vector<float>{-1, 2, 30, 40}));
    MapWriter missing(1);
    missing.key("enum").pack(0);
    unpackValuesFromBytes(rect, missing.bytes());
    EXPECT_EQ(rect.value(), CCRect(-1, 2, 30, 40));

    KXAttributeSize size("Size", nullptr);
    MapWriter sizeWriter(1);
    sizeWriter.key("value").pack(std::vector<int>{640, 1136});
    unpackValuesFromBytes(size, sizeWriter.bytes());
    EXPECT_EQ(size.value(), CCSize(640, 1136));
    MapWriter badSize(1);
    badSize.key("value").pack_map(0);
    EXPECT_THROW(unpackValuesFromBytes(size, badSize.bytes()), msgpack::type_error);
}

TEST_F(TextAttributeTest, DictionaryForms) {
    KXAttributeString text("Title", owner.get());
    text.setMaximumLength(4);
    cocos2d::CCDictionary* input = cocos2d::CCDictionary::create();
    input->setObject(cocos2d::CCString::create("abcdef"), "value");
    text.loadValueFromDictionary(input);
    EXPECT_EQ(text.value(), "abcd");
    text.loadValueFromDictionary(cocos2d::CCDictionary::create());
    EXPECT_EQ(text.value(), "abcd");

    KXAttributeRect rect("Frame", owner.get());
    rect.setValue(CCRect(1, 2.5f, 3.125f, 4), true);
    cocos2d::CCDictionary* savedRect = rect.saveValueToDictionary();
    EXPECT_EQ(savedRect->valueForKey("value")->getString(), "{{1.00,2.50},{3.12,4.00}}");
    KXAttributeRect loadedRect("Frame", owner.get());
    loadedRect.loadValueFromDictionary(savedRect);
    EXPECT_EQ(loadedRect.value(), CCRect(1, 2.5f, 3.12f, 4));

    KXAttributeSize size("Size", owner.get());
    size.setValue(CCSize(640, 1136), true);
    cocos2d::CCDictionary* savedSize = size.saveValueToDictionary();
    EXPECT_EQ(savedSize->valueForKey("value")->getString(), "{640.00,1136.00}");
    KXAttributeSize loadedSize("Size", owner.get());
    loadedSize.loadValueFromDictionary(savedSize);
    EXPECT_EQ(loadedSize.value(), CCSize(640, 1136));
    EXPECT_TRUE(observer.events.empty());
}
