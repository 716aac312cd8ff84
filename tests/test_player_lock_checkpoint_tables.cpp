// The lock-state table with its listeners, and the checkpoint table.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "player/app/KXPScreensController.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPLockStateTable.h"

namespace {

class LockStateTable : public ::testing::Test {
protected:
    void SetUp() override { lockStateTable().clear(); }
    void TearDown() override { lockStateTable().clear(); }
};

TEST_F(LockStateTable, AMissingNameIsInsertedLocked) {
    EXPECT_TRUE(lockState("Level 2"));
    lockState("Level 2") = false;
    EXPECT_FALSE(lockState("Level 2"));
    EXPECT_EQ(lockStateTable().size(), 1u);
}

TEST_F(LockStateTable, TextRoundTripsAndReadsForgivingly) {
    lockState("a") = false;
    lockState("b;c:d") = true;
    const std::string text = serializeLockStates();
    lockStateTable().clear();
    parseLockStates(text);
    EXPECT_EQ(lockStateTable().size(), 2u) << text;
    EXPECT_FALSE(lockState("a"));
    EXPECT_TRUE(lockState("b;c:d"));

    // First occurrence wins; a name alone reads unlocked; an empty name is kept.
    parseLockStates("x:1;x:0;y;:1;z:maybe;");
    EXPECT_TRUE(lockStateTable().at("x"));
    EXPECT_FALSE(lockStateTable().at("y"));
    EXPECT_TRUE(lockStateTable().at(""));
    EXPECT_FALSE(lockStateTable().at("z"));
}

TEST_F(LockStateTable, ListenersHearEveryRebuildInOrder) {
    std::vector<std::string> calls;
    std::unique_ptr<KXPLockStateListener> second;
    KXPLockStateListener first([&] {
        calls.push_back("first");
        // A button destroyed by the rebuild no longer hears it.
        second.reset();
    });
    second.reset(new KXPLockStateListener([&] { calls.push_back("second"); }));
    {
        KXPLockStateListener gone([&] { calls.push_back("gone"); });
    }
    parseLockStates("");
    EXPECT_EQ(calls, std::vector<std::string>{"first"});

    calls.clear();
    second.reset(new KXPLockStateListener([&] { calls.push_back("second"); }));
    clearLockStates();
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(lockStateTable().empty());
}

class CheckpointTable : public ::testing::Test {
protected:
    void SetUp() override {
        clearCheckpoints();
        KXPScreensController::shared()->setCurrentSceneKey("");
    }
    void TearDown() override { SetUp(); }
};

TEST_F(CheckpointTable, TheCurrentWorldNeedsASceneKey) {
    EXPECT_EQ(currentCheckpoint(), nullptr);
    KXPScreensController::shared()->setCurrentSceneKey("Forest");
    KXPCheckpointRecord* record = currentCheckpoint();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->levelSectionId, -1);
    EXPECT_EQ(record, &checkpointRecord("Forest"));
}

TEST_F(CheckpointTable, SectionIdsPastTheIntRangeAreWrittenSignedAndReadBackEitherWay) {
    const uint32_t far = 2147483653u;
    checkpointRecord("Far").levelSectionId = far;
    EXPECT_EQ(serializeCheckpoints(), "Far:0 0 0 0 0 -2147483643");
    parseCheckpoints(serializeCheckpoints());
    EXPECT_EQ(checkpointRecord("Far").levelSectionId, far);

    // Some stores wrote such an id unsigned: the same 32 bits.
    parseCheckpoints("Old:1 1 1 1 1 2147483653");
    EXPECT_EQ(checkpointRecord("Old").levelSectionId, far);
    EXPECT_EQ(serializeCheckpoints(), "Old:1 1 1 1 1 -2147483643");
    // No checkpoint stays -1; a number no id has keeps the fresh value.
    parseCheckpoints("None:1 1 1 1 1 -1;Huge:1 1 1 1 1 99999999999");
    EXPECT_EQ(checkpointRecord("None").levelSectionId, checkpointRecord("Huge").levelSectionId);
    clearCheckpoints();
    checkpointRecord("None");
    EXPECT_EQ(serializeCheckpoints(), "None:0 0 0 0 0 -1");
}

TEST_F(CheckpointTable, TextRoundTripsAndMissingNumbersKeepFreshValues) {
    KXPCheckpointRecord& record = checkpointRecord("Cave: 1");
    record.position = cocos2d::CCPoint(12.5f, -3.0f);
    record.cameraOffset = cocos2d::CCPoint(100.0f, 0.25f);
    record.distance = 1234.5678f;
    record.levelSectionId = 42;
    const std::string text = serializeCheckpoints();
    EXPECT_EQ(text, "Cave%3A 1:12.5 -3 100 0.25 1234.5677 42");
    clearCheckpoints();
    parseCheckpoints(text);
    const KXPCheckpointRecord& back = checkpointRecord("Cave: 1");
    EXPECT_EQ(back.position.x, 12.5f);
    EXPECT_EQ(back.cameraOffset.y, 0.25f);
    EXPECT_FLOAT_EQ(back.distance, 1234.5678f);
    EXPECT_EQ(back.levelSectionId, 42);

    parseCheckpoints("w:1 2;w:5 5 5 5 5 5;:3 3;v:1 oops 9 9 9 9");
    EXPECT_EQ(checkpointTable().size(), 2u);
    const KXPCheckpointRecord& w = checkpointRecord("w");
    EXPECT_EQ(w.position.x, 1.0f);
    EXPECT_EQ(w.position.y, 2.0f);
    EXPECT_EQ(w.cameraOffset.x, 0.0f);
    EXPECT_EQ(w.distance, 0.0f);
    EXPECT_EQ(w.levelSectionId, -1);
    const KXPCheckpointRecord& v = checkpointRecord("v");
    EXPECT_EQ(v.position.y, 0.0f);
    EXPECT_EQ(v.cameraOffset.x, 0.0f);
    EXPECT_EQ(v.levelSectionId, -1);
}

} // namespace
