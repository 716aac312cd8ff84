// The score table: records, sums, resets and both text forms.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "player/app/KXPScreensController.h"
#include "player/store/KXPScoreTable.h"

namespace {

class ScoreTable : public ::testing::Test {
protected:
    void SetUp() override {
        clearScores();
        KXPScreensController::shared()->setCurrentSceneKey("");
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ScoreTable, RecordsAreFoundOrInsertedByWorldAndCopiedDeeply) {
    KXPScoreRecord& global = worldScores("");
    global.coins.session = 4;
    EXPECT_EQ(&worldScores(""), &global);

    KXPScreensController::shared()->setCurrentSceneKey("Level 1");
    currentWorldScores().points.session = 9;
    EXPECT_EQ(worldScores("Level 1").points.session, 9);
    EXPECT_EQ(scoreTable().size(), 2u);

    // A copy owns its own checkpoint chain: changing or dropping it leaves the original.
    KXPScoreRecord& live = worldScores("Level 1");
    live.commit();
    live.points.ensureBackup().next.reset(new KXPScoreCount::Backup());
    KXPScoreRecord copy = live;
    ASSERT_NE(copy.points.backup(), live.points.backup());
    ASSERT_NE(copy.points.backup()->next, nullptr);
    copy.points.backup()->values[0] = 100;
    copy.points.dropBackup();
    EXPECT_EQ(live.points.backup()->values[0], 9);
    ASSERT_NE(live.points.backup()->next, nullptr);
}

TEST_F(ScoreTable, CommitAndRevertGoThroughTheCheckpointCopy) {
    KXPScoreRecord record;
    record.distance.session = 12.5f;
    record.coins.session = 3;
    record.revert(); // nothing committed yet: back to zero
    EXPECT_EQ(record.distance.session, 0.0f);
    EXPECT_EQ(record.coins.session, 0);

    record.coins.session = 3;
    record.commit();
    record.coins.session = 10;
    record.revert();
    EXPECT_EQ(record.coins.session, 3);
    ASSERT_NE(record.points.backup(), nullptr);
    EXPECT_EQ(record.points.backup()->values[0], 0);
}

TEST_F(ScoreTable, TotalsSumNamedWorldsOnlyAndClampIntegers) {
    EXPECT_EQ(totalDistance(), 0.0f);
    EXPECT_EQ(totalPoints(), 0);
    worldScores("").points.session = 1000; // the global record is not a world
    worldScores("a").distance.session = 1.5f;
    worldScores("b").distance.session = 2.0f;
    worldScores("a").coins.session = 5;
    worldScores("b").coins.session = 7;
    EXPECT_FLOAT_EQ(totalDistance(), 3.5f);
    EXPECT_EQ(totalCoins(), 12);
    EXPECT_EQ(totalPoints(), 0);

    // Sums past 2^24 stay exact, and past 2^31 they stop at the largest integer.
    worldScores("a").points.session = 16777217;
    worldScores("b").points.session = 1;
    EXPECT_EQ(totalPoints(), 16777218);
    worldScores("a").points.session = INT_MAX;
    worldScores("b").points.session = INT_MAX;
    EXPECT_EQ(totalPoints(), INT_MAX);
    worldScores("a").coins.session = INT_MIN;
    worldScores("b").coins.session = -1;
    EXPECT_EQ(totalCoins(), INT_MIN);
}

TEST_F(ScoreTable, ResetClearsTheChosenFiguresAndCommitsTheZero) {
    KXPScoreRecord& world = worldScores("w");
    world.distance = KXPScoreDistance();
    world.distance.session = 5.0f;
    world.distance.best = 8.0f;
    world.points.session = 2;
    world.points.best = 3;
    world.points.total = 30;
    world.coins.session = 7;

    resetScores(false, false, false, true);
    EXPECT_EQ(world.points.session, 2);
    EXPECT_EQ(world.points.backup(), nullptr);

    resetScores(false, true, false, false);
    EXPECT_EQ(world.points.session, 0);
    EXPECT_EQ(world.points.best, 3);
    ASSERT_NE(world.points.backup(), nullptr);
    EXPECT_EQ(world.points.backup()->values[0], 0);
    EXPECT_EQ(world.coins.session, 7);

    resetScores(true, false, true, true);
    EXPECT_EQ(world.distance.best, 0.0f);
    EXPECT_EQ(world.coins.session, 0);
    EXPECT_EQ(world.points.total, 30);
}

TEST_F(ScoreTable, WritesTheGlobalRecordUnderItsOwnName) {
    KXPScoreRecord& global = worldScores("");
    global.points.best = 12;
    global.points.total = 40;
    global.coins.best = 3;
    global.coins.total = 3;
    global.coins.session = 3;
    global.coins.commit();
    global.coins.session = 99; // never written
    EXPECT_EQ(serializeScores(), "<kxp_score_global>:0 0 0 12 40 0 3 3 1 3 0 0");

    clearScores();
    parseScores("1.0", "<kxp_score_global>:0 0 0 12 40 0 3 3 1 3 0 0", false);
    ASSERT_EQ(scoreTable().count(""), 1u);
    EXPECT_EQ(worldScores("").coins.backup()->values[0], 3);
    EXPECT_EQ(worldScores("").points.total, 40);
    EXPECT_EQ(serializeScores(), "<kxp_score_global>:0 0 0 12 40 0 3 3 1 3 0 0");
}

TEST_F(ScoreTable, ReadingKeepsTheRunningGameAndNeverLowersBelowIt) {
    worldScores("w").points.session = 7;
    worldScores("gone").coins.session = 4;
    parseScores("1.0", "w:0 0 0 5 5 0 0 0 0;other:1 2 0 3 4 0 5 6 0", false);
    EXPECT_EQ(worldScores("w").points.session, 7);
    EXPECT_EQ(worldScores("w").points.best, 7);
    EXPECT_EQ(worldScores("w").points.total, 7);
    EXPECT_EQ(scoreTable().count("gone"), 0u);
    EXPECT_EQ(worldScores("other").coins.total, 6);

    // A fresh read forgets the running game.
    parseScores("1.0", "w:0 0 0 5 5 0 0 0 0", true);
    EXPECT_EQ(worldScores("w").points.session, 0);
    EXPECT_EQ(worldScores("w").points.best, 5);
}

TEST_F(ScoreTable, ItemsAreReadForgivingly) {
    // A trailing ";" and empty items are skipped; the first of two equal names wins; a world
    // without values and an empty name are handled; a bad number reads 0 and ends the item.
    parseScores("v", ";a:1 2 0 3 4 0 5 6 0;;a:9 9 0 9 9 0 9 9 0;bare;:1 1 0;c:1.5 x 7 7 0;", false);
    EXPECT_EQ(scoreTable().size(), 3u);
    EXPECT_EQ(worldScores("a").distance.best, 1.0f);
    EXPECT_EQ(worldScores("a").coins.total, 6);
    EXPECT_EQ(worldScores("bare").points.best, 0);
    EXPECT_EQ(worldScores("c").distance.best, 1.5f);
    EXPECT_EQ(worldScores("c").distance.total, 0.0f);
    EXPECT_EQ(worldScores("c").points.best, 0);
    EXPECT_EQ(scoreTable().count(""), 0u);

    clearScores();
    parseScores("v", "", false);
    EXPECT_TRUE(scoreTable().empty());
    EXPECT_EQ(serializeScores(), "");
}

TEST_F(ScoreTable, TheOlderFormHasSixNumbersAndSwitchesWhenItSeesMore) {
    parseScores("", "w:1.5 2.5 3 4 5 6;<kxp_score_global>:0 0 0 0 10 20", false);
    EXPECT_EQ(worldScores("w").distance.best, 1.5f);
    EXPECT_EQ(worldScores("w").distance.total, 2.5f);
    EXPECT_EQ(worldScores("w").points.best, 3);
    EXPECT_EQ(worldScores("w").coins.total, 6);
    EXPECT_EQ(worldScores("w").coins.backup(), nullptr);
    EXPECT_EQ(worldScores("").coins.total, 20);

    // Written by this build but read without a version: the first item has more than five
    // blanks, so the whole text is read in the current form.
    worldScores("w").points.session = 50;
    const std::string current = "w:1 2 0 3 4 1 3 0 0 5 6 0";
    parseScores("", current, false);
    EXPECT_EQ(scoreTable().size(), 1u);
    EXPECT_EQ(worldScores("w").points.best, 50);
    ASSERT_NE(worldScores("w").points.backup(), nullptr);
    EXPECT_EQ(worldScores("w").points.backup()->values[0], 3);
    EXPECT_EQ(worldScores("w").coins.total, 6);
}

TEST_F(ScoreTable, NumbersKeepEightDigitsInAnyLocale) {
    worldScores("far").distance.best = 123456789.0f;
    worldScores("far").distance.total = 3.25f;
    worldScores("far").points.best = 2000000001;
    const std::string text = serializeScores();
    EXPECT_EQ(text, "far:1.2345679e+08 3.25 0 2000000001 0 0 0 0 0");
    parseScores("v", text, true);
    EXPECT_EQ(worldScores("far").distance.best, 123456790.0f);
    EXPECT_EQ(worldScores("far").points.best, 2000000001);
}

TEST_F(ScoreTable, NamesWithSeparatorsRoundTrip) {
    const std::string awkward = "World: one; two %41";
    worldScores(awkward).coins.best = 4;
    worldScores("Plain World").coins.best = 2;
    const std::string text = serializeScores();
    // Plain names are written as they are.
    EXPECT_NE(text.find("Plain World:"), std::string::npos) << text;
    EXPECT_EQ(text.find("one;"), std::string::npos) << text;
    clearScores();
    parseScores("v", text, true);
    ASSERT_EQ(scoreTable().count(awkward), 1u) << text;
    EXPECT_EQ(worldScores(awkward).coins.best, 4);
    EXPECT_EQ(worldScores("Plain World").coins.best, 2);
}

} // namespace
