// The player's debug log: formatting, the 255-character cut, standard error.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "model/KXDebugLog.h"
#include "support/comma_locale.h"
#include "support/temp_folder.h"

TEST(DebugLogTest, FormatsLikePrintf) {
    KXDebugLogCapture capture;
    debugLog("[KXModelController] load data(%d) for class from file: %s", 3,
             "KXModelScreen.0.attributes.pack");
    debugLog("Failed to load keys");
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0],
              "[KXModelController] load data(3) for class from file: KXModelScreen.0.attributes.pack");
    EXPECT_TRUE(capture.contains("Failed to load keys"));
}

TEST(DebugLogTest, LongTextIsCutToTheBuffer) {
    KXDebugLogCapture capture;
    std::string longText(400, 'a');
    debugLog("%s", longText.c_str());
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0], std::string(254, 'a'));
}

TEST(DebugLogTest, CutNeverSplitsAUtf8Character) {
    KXDebugLogCapture capture;
    // 253 bytes and a two-byte character: only the first byte of it would fit.
    debugLog("%s\xC3\xA9", std::string(253, 'b').c_str());
    // 252 bytes and the same character: it fits whole.
    debugLog("%s\xC3\xA9", std::string(252, 'b').c_str());
    // A three-byte character cut after its first or second byte.
    debugLog("%s\xE2\x82\xAC", std::string(252, 'c').c_str());
    debugLog("%s\xE2\x82\xAC", std::string(253, 'c').c_str());
    ASSERT_EQ(capture.lines().size(), 4u);
    EXPECT_EQ(capture.lines()[0], std::string(253, 'b'));
    EXPECT_EQ(capture.lines()[1], std::string(252, 'b') + "\xC3\xA9");
    EXPECT_EQ(capture.lines()[2], std::string(252, 'c'));
    EXPECT_EQ(capture.lines()[3], std::string(253, 'c'));
}

TEST(DebugLogTest, NumbersUseAPoint) {
    CommaDecimalLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no de_DE locale sources (package locales) to build a comma-decimal locale";
    KXDebugLogCapture capture;
    debugLog("speed %.2f", 1.25);
    EXPECT_TRUE(capture.contains("speed 1.25"));
}

TEST(DebugLogTest, WritesTheLineAndABreakToStandardError) {
    TempFolder folder;
    std::fflush(stderr);
    int saved = ::dup(STDERR_FILENO);
    std::FILE* sink = std::fopen(folder.file("err.txt").c_str(), "w");
    ASSERT_NE(sink, nullptr);
    ::dup2(::fileno(sink), STDERR_FILENO);
    debugLog("[KXPAppDelegate] game loading: %s", "start");
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(sink);
    EXPECT_EQ(folder.read("err.txt"), "[KXPAppDelegate] game loading: start\n");
}
