// Text objects: number conversions, C-locale formatting, base64.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/comma_locale.h"

USING_NS_CC;

namespace {

class TextTest : public ::testing::Test {
protected:
    void TearDown() override { CCPoolManager::sharedPoolManager()->pop(); }
};

std::string decode(const std::string& text, int* lengthOut = nullptr) {
    unsigned char* out = reinterpret_cast<unsigned char*>(1); // must be overwritten
    int length = base64Decode(reinterpret_cast<const unsigned char*>(text.data()),
                              static_cast<unsigned int>(text.size()), &out);
    if (lengthOut)
        *lengthOut = length;
    if (length == 0) {
        EXPECT_EQ(out, nullptr) << text;
        return std::string();
    }
    std::string result(reinterpret_cast<char*>(out), static_cast<size_t>(length));
    delete[] out;
    return result;
}

} // namespace

TEST_F(TextTest, IntegerConversions) {
    EXPECT_EQ(CCString("42").intValue(), 42);
    EXPECT_EQ(CCString("  -7px").intValue(), -7);
    EXPECT_EQ(CCString("+13").intValue(), 13);
    EXPECT_EQ(CCString("abc").intValue(), 0);
    EXPECT_EQ(CCString("").intValue(), 0);
    EXPECT_EQ(CCString("3.9").intValue(), 3);
    // Overflow saturates rather than wrapping.
    EXPECT_EQ(CCString("99999999999").intValue(), INT_MAX);
    EXPECT_EQ(CCString("-99999999999999999999999").intValue(), INT_MIN);
    EXPECT_EQ(CCString("4000000000").uintValue(), 4000000000u);
    EXPECT_EQ(CCString("-5").uintValue(), 0u);
}

TEST_F(TextTest, FloatConversions) {
    EXPECT_FLOAT_EQ(CCString("2.5").floatValue(), 2.5f);
    EXPECT_FLOAT_EQ(CCString("  -0.25abc").floatValue(), -0.25f);
    EXPECT_FLOAT_EQ(CCString("1e3").floatValue(), 1000);
    EXPECT_FLOAT_EQ(CCString(".5").floatValue(), 0.5f);
    EXPECT_FLOAT_EQ(CCString("x1").floatValue(), 0);
    EXPECT_FLOAT_EQ(CCString("").floatValue(), 0);
    // Non-finite or out-of-range text must not leak NaN or infinity into game values.
    EXPECT_FLOAT_EQ(CCString("nan").floatValue(), 0);
    EXPECT_FLOAT_EQ(CCString("inf").floatValue(), 0);
    EXPECT_FLOAT_EQ(CCString("1e39").floatValue(), 0);
    EXPECT_DOUBLE_EQ(CCString("0.1").doubleValue(), 0.1);
}

TEST_F(TextTest, BoolAndPointConversions) {
    EXPECT_FALSE(CCString("").boolValue());
    EXPECT_FALSE(CCString("0").boolValue());
    EXPECT_FALSE(CCString("false").boolValue());
    EXPECT_TRUE(CCString("1").boolValue());
    EXPECT_TRUE(CCString("true").boolValue());
    EXPECT_TRUE(CCString("no").boolValue());
    EXPECT_TRUE(CCString("00").boolValue());
    CCPoint point = CCString("{12.5,-3}").pointValue();
    EXPECT_FLOAT_EQ(point.x, 12.5f);
    EXPECT_FLOAT_EQ(point.y, -3);
    EXPECT_EQ(CCString("{12.5;-3}").pointValue(), CCPointZero);
}

TEST_F(TextTest, FormatIsUnboundedAndAutoreleased) {
    std::string longText(1000, 'x');
    CCString* text = CCString::createWithFormat("%s-%d", longText.c_str(), 7);
    EXPECT_EQ(text->length(), 1002u);
    EXPECT_EQ(text->getString().substr(998), "xx-7");
    EXPECT_TRUE(text->isInAutoreleasePool());
    EXPECT_TRUE(CCString("abc").isEqual(CCString::create("abc")));
    EXPECT_FALSE(CCString("abc").isEqual(CCString::create("abd")));
}

TEST_F(TextTest, NumbersUseAPointWhateverTheProcessLocale) {
    CommaDecimalLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no de_DE locale sources (package locales) to build a comma-decimal locale";
    char check[32];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    ASSERT_STREQ(check, "1,5") << "the test locale should use a comma";

    EXPECT_STREQ(CCString::createWithFormat("{%.3f,%.3f}", 1.5, -2.25)->getCString(), "{1.500,-2.250}");
    EXPECT_EQ(stringWithFormatC("%g", 0.5), "0.5");
    EXPECT_FLOAT_EQ(CCString("1.5").floatValue(), 1.5f);
    CCPoint point = CCPointFromString("{1.5,2.5}");
    EXPECT_FLOAT_EQ(point.x, 1.5f);
    EXPECT_FLOAT_EQ(point.y, 2.5f);
}

TEST(Base64Test, DecodesPaddedAndUnpaddedText) {
    EXPECT_EQ(decode("SGVsbG8="), "Hello");
    EXPECT_EQ(decode("SGVsbG8"), "Hello");
    EXPECT_EQ(decode("SGVsbG8h"), "Hello!");
    EXPECT_EQ(decode("SGVs\nbG8g\r\n V29y bGQ="), "Hello World");
    // "/+8A" is 111111 111110 111100 000000: bytes FF EF 00.
    EXPECT_EQ(decode("/+8A"), std::string("\xFF\xEF\x00", 3));
}

TEST(Base64Test, StopsAtTheFirstPadding) {
    EXPECT_EQ(decode("SGk=SGVsbG8="), "Hi");
    EXPECT_EQ(decode("SGk=!!!"), "Hi");
}

TEST(Base64Test, InvalidInputGivesNothing) {
    int length = -1;
    EXPECT_EQ(decode("SGV*bG8=", &length), "");
    EXPECT_EQ(length, 0);
    EXPECT_EQ(decode("SGVsbG8-"), ""); // url-safe alphabet is not accepted
    EXPECT_EQ(decode(std::string("SG\0k", 4)), "");
    EXPECT_EQ(decode("\xC3\xA9QUJD"), ""); // non-ASCII
    EXPECT_EQ(decode("S"), "");            // a single character cannot hold a byte
    EXPECT_EQ(decode("SGVsbG8hS"), "");
    EXPECT_EQ(decode(""), "");
    EXPECT_EQ(decode("===="), "");
    unsigned char* out = nullptr;
    EXPECT_EQ(base64Decode(nullptr, 4, &out), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(base64Decode(reinterpret_cast<const unsigned char*>("QUJD"), 4, nullptr), 0);
}
