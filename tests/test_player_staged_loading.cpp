// The staged loading of the written demo game through the real launch: nothing loads before the
// loading screen's tenth drawn frame, then one file per frame until the first menu opens; a game
// that cannot load, or whose start node leads nowhere, stops once and saves nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <msgpack.hpp>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/archive/KXKeyFile.h"
#include "model/classes/KXModelScreen.h"
#include "player/app/KXPAppDelegate.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/desktop/KXPDesktopEntry.h"
#include "player/screens/KXPScreen.h"
#include "player/screens/KXPScreenUi.h"
#include "player/store/KXPSettingsController.h"
#include "support/demo_game_support.h"
#include "support/model_test_models.h"
#include "support/state_guards.h"

using namespace cocos2d;

namespace {

class StagedLoading : public ::testing::Test {
protected:
    kxtest::DemoGameFolder demo;
    TempFolder store;
    // The start data names the writable folder after the game.
    kxtest::ScopedApplicationName applicationName;

    void SetUp() override {
        std::string failure;
        if (!demo.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        CCDirector::sharedDirector()->purgeDirector();
        resetModelCore();
        setGameDataLoaded(false);
        KXPScreensController::shared()->reset();
        CCUserDefault::setXMLFilePath(store.file("UserDefault.xml"));
        CCEGLView::createHeadless(960.0f, 540.0f)->setRenderingEnabled(true);
        CCDirector::sharedDirector()->setFixedDeltaTime(1.0f / 60.0f);
    }

    void TearDown() override {
        CCDirector::sharedDirector()->purgeDirector();
        KXPScreensController::shared()->reset();
        KXPSettingsController::purgeShared();
        setGameDataLoaded(false);
        CCEGLView::purgeSharedOpenGLView();
        CCUserDefault::setXMLFilePath("");
        resetModelCore();
    }

    static KXPScreenUi* loadingLayer() {
        CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
        return scene ? dynamic_cast<KXPScreenUi*>(scene->getChildByTag(0)) : nullptr;
    }

    static size_t count(const KXDebugLogCapture& log, const std::string& line) {
        return static_cast<size_t>(std::count(log.lines().begin(), log.lines().end(), line));
    }

    // Frames until the delegate stops loading; false when that takes unreasonably long.
    static bool runUntilLoaded(KXPAppDelegate& application) {
        for (int frame = 0; frame < 2000 && !application.isLoadingFinished(); ++frame) {
            application.runFrames(1);
        }
        return application.isLoadingFinished();
    }

    void removeDataFile(const char* name) {
        ASSERT_EQ(std::remove((std::string("data/") + name).c_str()), 0);
    }

    static std::string readDataFile(const std::string& name) {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(CCFileUtils::sharedFileUtils()->readFile("data/" + name, bytes)) << name;
        return std::string(bytes.begin(), bytes.end());
    }

    static void writeDataFile(const std::string& name, const std::string& bytes) {
        std::FILE* file = std::fopen(("data/" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr) << name;
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
        std::fclose(file);
    }

    // The first stored map of a pack file, by the ids every writer pins: "id" 42, "value" 10,
    // "User ID" 50.
    static msgpack::object_handle firstRecord(const std::string& name) {
        const std::string bytes = readDataFile(name);
        return msgpack::unpack(bytes.data(), bytes.size());
    }

    static const msgpack::object* entry(const msgpack::object& map, uint32_t key) {
        if (map.type != msgpack::type::MAP) {
            return nullptr;
        }
        for (uint32_t i = 0; i < map.via.map.size; ++i) {
            if (map.via.map.ptr[i].key.type == msgpack::type::POSITIVE_INTEGER &&
                map.via.map.ptr[i].key.via.u64 == key) {
                return &map.via.map.ptr[i].val;
            }
        }
        return nullptr;
    }

    static std::string firstModelId(const std::string& name) {
        const msgpack::object_handle record = firstRecord(name);
        const msgpack::object* id = entry(record.get(), 42);
        return id != nullptr ? std::to_string(id->as<uint32_t>()) : std::string("none");
    }

    // Flips one bit of the key file where it holds that name (the mask is a XOR, so the same bit
    // of the name flips).
    static void flipBitOfKeyName(const std::string& name) {
        const msgpack::object_handle settings = firstRecord("KXModelGeneralSettings.0.attributes.pack");
        const msgpack::object* userId = entry(settings.get(), 50);
        ASSERT_NE(userId, nullptr);
        const msgpack::object* value = entry(*userId, 10);
        ASSERT_NE(value, nullptr);
        std::string keys = readDataFile("Keys.pack");
        std::string plain = keys;
        applyKeyMask(reinterpret_cast<unsigned char*>(&plain[0]), plain.size(),
                     buildKeyMask(value->as<std::string>()));
        const size_t at = plain.find("\n" + name + "\n");
        ASSERT_NE(at, std::string::npos) << name;
        keys[at + 1] = static_cast<char>(keys[at + 1] ^ 0x01);
        writeDataFile("Keys.pack", keys);
    }

    // The reason a load of the damaged demo stops with, once.
    std::string failureOfLoad() {
        EXPECT_TRUE(loadStartData());
        KXDebugLogCapture log;
        KXPAppDelegate application;
        EXPECT_TRUE(runUntilLoaded(application));
        EXPECT_TRUE(application.hasLoadFailed());
        // The log cuts long lines: the stop is counted by its start.
        EXPECT_EQ(std::count_if(log.lines().begin(), log.lines().end(),
                                [](const std::string& line) {
                                    return line.rfind("[KXPAppDelegate] game loading failed: ", 0) == 0;
                                }),
                  1);
        return application.loadError();
    }
};

TEST_F(StagedLoading, TheTenthDrawnFrameLoadsTheFirstFileAndTheLastOpensTheMenu) {
    ASSERT_TRUE(loadStartData());
    const size_t startModels = KXModelController::shared()->modelsById().size();
    KXPAppDelegate application;
    application.runFrames(9);
    ASSERT_NE(loadingLayer(), nullptr);
    EXPECT_TRUE(loadingLayer()->isLoading());
    EXPECT_EQ(loadingLayer()->loadingFrames(), 9);
    EXPECT_EQ(KXModelController::shared()->modelsById().size(), startModels);

    application.runFrames(1);
    // The store started again with the first file.
    EXPECT_NE(KXModelController::shared()->modelsById().size(), startModels);
    EXPECT_FALSE(isGameDataLoaded());

    KXDebugLogCapture log;
    ASSERT_TRUE(runUntilLoaded(application));
    EXPECT_FALSE(application.hasLoadFailed());
    EXPECT_TRUE(isGameDataLoaded());
    EXPECT_EQ(KXModelController::shared()->loadingProgress(), 100);
    EXPECT_TRUE(log.contains("End loading XML"));
    EXPECT_TRUE(log.contains("loading screens"));
    // The atlas's frames and every button are ready for the screens that follow.
    EXPECT_TRUE(log.contains("Start Atlas loading"));
    application.runFrames(1);
    KXPScreen* menu = KXPScreen::runningScreen();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->model()->key(), "KXPScreenMainMenu");
    EXPECT_EQ(KXPScreensController::shared()->uiKeys(), std::vector<std::string>({"KXPScreenMainMenu"}));
    EXPECT_NE(menu->buttonWithAction("kExitButton"), nullptr);
}

TEST_F(StagedLoading, AGameThatCannotBeReadStopsOnceAndSavesNothing) {
    removeDataFile("Keys.pack");
    EXPECT_FALSE(loadStartData());
    KXDebugLogCapture log;
    KXPAppDelegate application;
    application.runFrames(60);
    EXPECT_TRUE(application.isLoadingFinished());
    EXPECT_TRUE(application.hasLoadFailed());
    EXPECT_FALSE(application.loadError().empty());
    EXPECT_FALSE(isGameDataLoaded());
    EXPECT_EQ(count(log, "[KXPAppDelegate] game loading failed: " + application.loadError()), 1u);
    // The loading screen stays, and nothing is written over stored progress.
    ASSERT_NE(loadingLayer(), nullptr);
    EXPECT_TRUE(loadingLayer()->isLoading());
    KXPSettingsController::shared()->save();
    EXPECT_FALSE(CCUserDefault::isXMLFileExist());
}

TEST_F(StagedLoading, AStartNodeThatLeadsNowhereStopsOnce) {
    removeDataFile("KXNodeUIStart.0.connections.pack");
    ASSERT_TRUE(loadStartData());
    KXDebugLogCapture log;
    KXPAppDelegate application;
    ASSERT_TRUE(runUntilLoaded(application));
    application.runFrames(30);
    EXPECT_TRUE(application.hasLoadFailed());
    EXPECT_EQ(count(log, "ERROR! Failed to find ScreenScene attached to Start scene"), 1u);
    EXPECT_EQ(count(log, "End loading XML"), 1u);
    EXPECT_TRUE(isGameDataLoaded());
    ASSERT_NE(loadingLayer(), nullptr);
    EXPECT_TRUE(loadingLayer()->isLoading());
    // Every file there read: the reason is what the graph lacks.
    EXPECT_EQ(application.loadError(), "the start node leads to no screen (the start node, model " +
                                           firstModelId("KXNodeUIStart.0.attributes.pack") +
                                           " (KXNodeUIStart), holds no screen)");
}

// Packs exchanged or replaced read without an error but load nothing, or another class's models:
// the reason names each such file and what it held.
TEST_F(StagedLoading, AStartWhosePacksWereSwappedOrReplacedNamesWhatEachPackHeld) {
    const std::string links = "KXNodeUIStart.0.connections.pack";
    const std::string uiNodes = "KXNodeUI.0.attributes.pack";
    const std::string start = firstModelId(links);
    const std::string firstUi = firstModelId(uiNodes);
    const std::string startLinks = readDataFile(links);
    const std::string uiBytes = readDataFile(uiNodes);
    writeDataFile(links, uiBytes);
    writeDataFile(uiNodes, startLinks);
    EXPECT_EQ(failureOfLoad(),
              "the start node leads to no screen (data/KXNodeUI.0.attributes.pack: nothing in it "
              "loads: model " +
                  start +
                  " has no class name; data/KXNodeUI.0.connections.pack: nothing in it loads: "
                  "no model " +
                  firstUi +
                  " was loaded; data/KXNodeUIStart.0.connections.pack: nothing in it loads: no "
                  "model " +
                  firstUi + " was loaded)");
}

TEST_F(StagedLoading, AStartWhoseLinksPackIsAnotherClassesNamesWhoseRecordsItHolds) {
    writeDataFile("KXNodeUIStart.0.connections.pack", readDataFile("KXNodeScene.0.connections.pack"));
    EXPECT_EQ(failureOfLoad(),
              "the start node leads to no screen (data/KXNodeUIStart.0.connections.pack: its "
              "records are of class KXNodeScene, not KXNodeUIStart)");
}

// A flipped bit in a key name that links are stored under: every file reads, but no link holds.
TEST_F(StagedLoading, AStartWhoseLinkKeyIsDamagedSaysItHasNoLoadLink) {
    flipBitOfKeyName("connectedModelId");
    EXPECT_EQ(failureOfLoad(), "the start node leads to no screen (the start node, model " +
                                   firstModelId("KXNodeUIStart.0.attributes.pack") +
                                   " (KXNodeUIStart), has no \"Load\" link)");
}

TEST_F(StagedLoading, AGameWithoutAStartNodeSaysSo) {
    removeDataFile("KXNodeUIStart.0.attributes.pack");
    removeDataFile("KXNodeUIStart.0.connections.pack");
    EXPECT_EQ(failureOfLoad(), "the start node leads to no screen (no start node was loaded)");
}

// The start node's ports stored under key ids the key table lacks: the port leads nowhere, and the
// reason names the file and the key, not only that no screen follows.
TEST_F(StagedLoading, AStartNodeWhosePortsAreUnderUnknownKeysSaysWhichFileAndKey) {
    const std::string path = "data/KXNodeUIStart.0.connections.pack";
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(CCFileUtils::sharedFileUtils()->readFile(path, bytes));
    msgpack::sbuffer rekeyed;
    size_t offset = 0;
    while (offset < bytes.size()) {
        msgpack::object_handle handle =
            msgpack::unpack(reinterpret_cast<const char*>(bytes.data()), bytes.size(), offset);
        msgpack::object node = handle.get();
        ASSERT_EQ(node.type, msgpack::type::MAP);
        for (uint32_t i = 0; i < node.via.map.size; ++i) {
            if (node.via.map.ptr[i].val.type == msgpack::type::MAP) {
                node.via.map.ptr[i].key = msgpack::object(99990 + i);
            }
        }
        msgpack::pack(rekeyed, node);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(rekeyed.data(), 1, rekeyed.size(), file), rekeyed.size());
    std::fclose(file);

    ASSERT_TRUE(loadStartData());
    KXDebugLogCapture log;
    KXPAppDelegate application;
    ASSERT_TRUE(runUntilLoaded(application));
    EXPECT_TRUE(application.hasLoadFailed());
    const std::string& error = application.loadError();
    EXPECT_EQ(error.rfind("the start node leads to no screen", 0), 0u) << error;
    EXPECT_NE(error.find("KXNodeUIStart.0.connections.pack"), std::string::npos) << error;
    EXPECT_NE(error.find("unknown key id 9999"), std::string::npos) << error;
    EXPECT_EQ(count(log, "[KXPAppDelegate] game loading failed: " + error), 1u);
}

TEST_F(StagedLoading, TheGameCanStartOnAChosenScreen) {
    ASSERT_TRUE(loadStartData());
    KXPAppDelegate application;
    application.setFirstScreenKey("world1");
    ASSERT_TRUE(runUntilLoaded(application));
    EXPECT_FALSE(application.hasLoadFailed());
    EXPECT_EQ(KXPScreensController::shared()->currentSceneKey(), "world1");
    EXPECT_EQ(KXPScreensController::shared()->currentUiKey(), "hud");
}

// The window ratio is a float and 1.77 a double: a ratio that reads 1.77 as a float lies below it.
TEST(AppDelegatePolicy, ARatioOfExactlyOnePointSevenSevenCountsAsBelow) {
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 1, CCSize(177.0f, 100.0f)), kResolutionFixedWidth);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 0, CCSize(100.0f, 177.0f)), kResolutionFixedHeight);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 1, CCSize(178.0f, 100.0f)), kResolutionFixedHeight);
    EXPECT_EQ(KXPAppDelegate::resolutionPolicy(3, 0, CCSize(100.0f, 178.0f)), kResolutionFixedWidth);
}

} // namespace
