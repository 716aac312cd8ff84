// The step-by-step loader in folder mode, and the parsing of pack buffers.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXDebugLog.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelSound.h"
#include "support/loading_fixtures.h"

namespace {

const std::string kSettingsFileLine =
    "[KXModelController] load data(0) for class from file: data/KXModelGeneralSettings.0.attributes.pack";

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<unsigned char> bytesOf(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

} // namespace

// Settings, four fonts in two files (two per file), one sound.
class FolderLoadingTest : public LoadingTest {
protected:
    void writeSmallGame() {
        kxdata::ModelList models{settings()};
        for (int i = 0; i < 4; ++i) {
            models.push_back(make("KXModelFont", "font " + std::to_string(i)));
        }
        models.push_back(make("KXModelSound", "beep"));
        m_settingsId = models[0]->id();
        m_files = pack(models);
        writeFolder(m_files);
    }

    size_t count(uint32_t type) const { return store()->getModelsByType(type).size(); }

    uint32_t m_settingsId = 0;
    std::vector<kxdata::PackFile> m_files;
};

TEST_F(FolderLoadingTest, AClassWithTwoFilesTakesThreeStepsAndEveryClassOneMorePerPass) {
    writeSmallGame();
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());

    int fontSteps = 0;
    int passZeroSteps = 0;
    while (store()->loadState().pass == 0) {
        fontSteps += store()->loadState().currentName == "KXModelFont" ? 1 : 0;
        ASSERT_FALSE(store()->loadNextFile());
        ++passZeroSteps;
    }
    // Fonts: two files and the missing third. Settings and sound: one file and a missing one.
    // Every other registered class: one missing file each.
    const int classes = static_cast<int>(store()->classCount());
    EXPECT_EQ(fontSteps, 3);
    EXPECT_EQ(passZeroSteps, 2 + 3 + 2 + (classes - 3));
    // Nobody has connections: one missing file per class, the last step ends the load.
    EXPECT_EQ(runSteps(), classes);
    EXPECT_EQ(count(KXModelFont::staticType()), 4u);
    EXPECT_EQ(count(KXModelSound::staticType()), 1u);
    EXPECT_EQ(store()->modelsById().size(), 6u);
    EXPECT_TRUE(store()->lastError().empty());
}

// A loading step reads a slice of a large pack: the frame it runs in stays short however many
// records the file holds (the loader takes files of up to 16 MiB).
TEST_F(FolderLoadingTest, ALargePackIsReadOverSeveralStepsOfASliceEach) {
    // Sounds: the loading screen's own files (fonts among them) are read whole before the steps.
    kxdata::ModelList models{settings()};
    const size_t sounds = 4 * KXModelController::kPackSliceRecords + 100;
    for (size_t i = 0; i < sounds; ++i) {
        models.push_back(make("KXModelSound", "sound " + std::to_string(i)));
    }
    writeFolder(pack(models, models.size()));
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());

    int soundSteps = 0;
    size_t loaded = 0;
    int progress = 0;
    while (store()->loadState().pass == 0) {
        ASSERT_FALSE(store()->loadNextFile());
        const size_t now = count(KXModelSound::staticType());
        if (now > loaded) {
            ++soundSteps;
            // A slice of records, never the file at once.
            EXPECT_LE(now - loaded, KXModelController::kPackSliceRecords);
        }
        loaded = now;
        EXPECT_GE(store()->loadingProgress(), progress);
        progress = store()->loadingProgress();
    }
    EXPECT_EQ(soundSteps, 5);
    runSteps();
    EXPECT_EQ(count(KXModelSound::staticType()), sounds);
    EXPECT_FALSE(store()->isReadingPack());
    EXPECT_EQ(store()->loadingProgress(), 100);
    EXPECT_TRUE(store()->lastError().empty()) << store()->lastError();
}

TEST_F(FolderLoadingTest, GeneralSettingsAreReadThreeTimesAndRegisteredOnce) {
    writeSmallGame();
    KXDebugLogCapture log;
    store()->loadInitialData("data/data.pkg", nullptr);
    store()->loadNextFile();
    EXPECT_EQ(std::count(log.lines().begin(), log.lines().end(), kSettingsFileLine), 3);
    EXPECT_EQ(count(KXModelGeneralSettings::staticType()), 1u);
    EXPECT_EQ(store()->getModel(m_settingsId), KXModelGeneralSettings::shared());

    runSteps();
    EXPECT_EQ(count(KXModelGeneralSettings::staticType()), 1u);
    EXPECT_EQ(KXModelGeneralSettings::shared()->userId(), kUserId);
}

TEST_F(FolderLoadingTest, ProgressClimbsByPassHalvesToExactlyOneHundred) {
    writeSmallGame();
    store()->loadInitialData("data/data.pkg", nullptr);
    // Pass 0 takes one step per class plus the extra ones of the three classes with files.
    const size_t classes = store()->classCount();
    const size_t passZeroSteps = classes + 4;
    std::vector<int32_t> seen;
    bool done = false;
    while (!done) {
        const int32_t pass = store()->loadState().pass;
        done = store()->loadNextFile();
        if (!done && pass == 1 && store()->loadState().pass == 1 && seen.size() == passZeroSteps) {
            // First step of the connections pass: nothing finished yet, half done.
            EXPECT_EQ(store()->loadingProgress(), 50);
        }
        seen.push_back(store()->loadingProgress());
    }
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    // The last step of pass 0 starts with all classes but one finished, just under half.
    EXPECT_EQ(seen[passZeroSteps - 1], static_cast<int32_t>((classes - 1) * 50 / classes));
    EXPECT_EQ(seen.back(), 100);
}

TEST_F(FolderLoadingTest, AStepAfterTheEndStartsAgainFromAnEmptyStore) {
    writeSmallGame();
    store()->loadInitialData("data/data.pkg", nullptr);
    runSteps();
    ASSERT_EQ(store()->loadingProgress(), 100);
    std::shared_ptr<KXModel> stray = make("KXModelSound", "stray");
    store()->addModel(stray);
    const uint32_t strayId = stray->id();
    stray.reset();

    EXPECT_FALSE(store()->loadNextFile());
    EXPECT_EQ(store()->loadState().pass, 0);
    EXPECT_EQ(store()->loadingProgress(), 0);
    EXPECT_EQ(store()->getModel(strayId), nullptr);
    // Only the settings file was read again.
    EXPECT_EQ(store()->modelsById().size(), 1u);
    EXPECT_EQ(store()->getModel(m_settingsId), KXModelGeneralSettings::shared());
}

TEST_F(FolderLoadingTest, DamagedFileEndsItsTurnWithTheReasonAndTheLoadGoesOn) {
    writeSmallGame();
    // The second font file loses its last byte; the first font file starts with a number
    // where a map belongs.
    std::string cut = folder().read("data/KXModelFont.1.attributes.pack");
    cut.pop_back();
    folder().write("data/KXModelFont.1.attributes.pack", cut);
    KXDebugLogCapture log;
    store()->loadInitialData("data/data.pkg", nullptr);
    runSteps();

    EXPECT_FALSE(store()->loadFailed());
    EXPECT_EQ(store()->lastError(),
              "Unable to load data: data/KXModelFont.1.attributes.pack: insufficient bytes");
    EXPECT_EQ(count(KXModelSound::staticType()), 1u);
    // The map before the cut one is kept.
    EXPECT_EQ(count(KXModelFont::staticType()), 3u);
    EXPECT_TRUE(std::any_of(log.lines().begin(), log.lines().end(), [](const std::string& line) {
        return startsWith(line, "[KXModelController] load data - fail: ");
    }));

    folder().write("data/KXModelSound.0.attributes.pack", std::string(1, '\x07'));
    store()->setLastError("");
    EXPECT_EQ(store()->loadDataFromFile("data/KXModelSound.0.attributes.pack", 0), 2);
    EXPECT_EQ(store()->lastError(),
              "Unable to load data: data/KXModelSound.0.attributes.pack: the object at byte 0 "
              "is not a map keyed by key ids");
}

// A file that reads without an error, yet loads nothing or only another class's models (swapped,
// replaced, or read with keys that name nothing it holds), is noted with what it held.
TEST_F(FolderLoadingTest, AFileThatLoadsNothingOrAnotherClassIsNotedWithWhatItHeld) {
    writeSmallGame();
    const std::string sounds = "data/KXModelSound.0.attributes.pack";
    const std::string fonts = "data/KXModelFont.0.attributes.pack";
    const std::string soundLinks = "data/KXModelSound.0.connections.pack";
    const std::string fontBytes = folder().read(fonts);
    const std::string soundBytes = folder().read(sounds);
    const auto noteFor = [&](const std::string& file, const std::string& bytes, int32_t type) {
        store()->clear();
        store()->loadInitialData("data/data.pkg", nullptr);
        EXPECT_FALSE(store()->loadFailed()) << store()->lastError();
        EXPECT_EQ(store()->loadDataFromFile(fonts, 0), 0);
        folder().write(file, bytes);
        EXPECT_EQ(store()->loadDataFromFile(file, type), 0) << file;
        return store()->loadProblemsText();
    };
    msgpack::zone zone;
    KXMessagePackMap noId(zone);
    noId.set("Class Name", "KXModelSound");
    KXMessagePackMap noClass(zone);
    noClass.set("id", 900u);
    KXMessagePackMap unknownClass(zone);
    unknownClass.set("id", 901u);
    unknownClass.set("Class Name", "KXModelNothing");
    KXMessagePackMap strayLinks(zone);
    strayLinks.set("id", 902u);

    EXPECT_EQ(noteFor(sounds, fontBytes, 0),
              sounds + ": its records are of class KXModelFont, not KXModelSound");
    EXPECT_EQ(noteFor(sounds, noId.packToBytes() + noClass.packToBytes(), 0),
              sounds + ": nothing in it loads: the object at byte 0 has no id");
    EXPECT_EQ(noteFor(sounds, noClass.packToBytes(), 0),
              sounds + ": nothing in it loads: model 900 has no class name");
    EXPECT_EQ(noteFor(sounds, unknownClass.packToBytes(), 0),
              sounds + ": nothing in it loads: model 901 is of the unknown class \"KXModelNothing\"");
    EXPECT_EQ(noteFor(soundLinks, strayLinks.packToBytes(), 1),
              soundLinks + ": nothing in it loads: no model 902 was loaded");
    // Connections are read by id: the fonts' take hold, but the file is not the sound's.
    EXPECT_EQ(noteFor(soundLinks, fontBytes, 1),
              soundLinks + ": its records are of class KXModelFont, not KXModelSound");
    // A name that gives no class, and a file that holds what its name gives, are not noted.
    EXPECT_EQ(noteFor("data/stray.pack", fontBytes, 0), "");
    EXPECT_EQ(noteFor(sounds, soundBytes, 0), "");
}

// The walk (after the start data, from an empty store, as the player runs it) reads the settings
// again under the game's keys: when they then give no settings, the load fails naming the file and
// what it held, as the first read would have.
TEST_F(FolderLoadingTest, AWalkThatEndsWithoutGeneralSettingsFailsNamingTheSettingsFile) {
    writeSmallGame();
    const std::string settingsFile = "data/KXModelGeneralSettings.0.attributes.pack";
    const std::string settings = folder().read(settingsFile);
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());
    store()->clear();
    folder().write(settingsFile, folder().read("data/KXModelSound.0.attributes.pack"));
    runSteps();
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(store()->lastError(),
              "Unable to load data: no general settings "
              "(data/KXModelGeneralSettings.0.attributes.pack: its records are of class "
              "KXModelSound, not KXModelGeneralSettings)");

    store()->clear();
    folder().write(settingsFile, settings);
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());
    store()->clear();
    std::remove(folder().file(settingsFile).c_str());
    runSteps();
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(store()->lastError(), "Unable to load data: no general settings "
                                    "(data/KXModelGeneralSettings.0.attributes.pack: the file is missing)");
}

TEST_F(FolderLoadingTest, MissingKeyFileFailsTheLoadAndTheStepsStop) {
    writeSmallGame();
    std::remove(folder().file("data/Keys.pack").c_str());
    KXDebugLogCapture log;
    store()->loadInitialData("data/data.pkg", nullptr);
    EXPECT_TRUE(log.contains("Failed to load keys"));
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(store()->lastError(), "Failed to load keys: data/Keys.pack: the file is missing");
    EXPECT_TRUE(store()->loadNextFile());
    EXPECT_TRUE(store()->modelsById().empty());
    // A new load starts clean.
    store()->clear();
    EXPECT_FALSE(store()->loadFailed());
}

TEST_F(FolderLoadingTest, MissingOrEmptyGeneralSettingsFailTheLoad) {
    writeSmallGame();
    std::remove(folder().file("data/KXModelGeneralSettings.0.attributes.pack").c_str());
    store()->loadInitialData("data/data.pkg", nullptr);
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(
        store()->lastError(),
        "Unable to load data: no general settings (data/KXModelGeneralSettings.0.attributes.pack: the file "
        "is missing)");
    EXPECT_TRUE(store()->loadNextFile());

    store()->clear();
    folder().write("data/KXModelGeneralSettings.0.attributes.pack", "");
    store()->loadInitialData("data/data.pkg", nullptr);
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(
        store()->lastError(),
        "Unable to load data: no general settings (data/KXModelGeneralSettings.0.attributes.pack: it holds "
        "no general settings)");
}

TEST_F(FolderLoadingTest, EmptyPackFileIsAFileWithoutModels) {
    folder().write("empty.pack", "");
    EXPECT_EQ(store()->loadDataFromFile("empty.pack", 0), 0);
    EXPECT_EQ(store()->loadDataFromFile("missing.pack", 0), 1);
    EXPECT_TRUE(store()->lastError().empty());
}

// --- parseData ---

class ParseDataTest : public LoadingTest {
protected:
    void installKeys(const kxdata::ModelList& models) {
        KXMessagePackMap::installKeyTable(
            kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames(models))));
    }
};

TEST_F(ParseDataTest, TwoMapsWithOneIdLeaveTheSecondModel) {
    std::shared_ptr<KXModel> first = make("KXModelFont", "first");
    std::shared_ptr<KXModel> second = make("KXModelFont", "second");
    second->setId(first->id());
    installKeys({first, second});
    const uint32_t id = first->id();
    const std::vector<unsigned char> bytes = bytesOf(kxdata::packModels({first, second}, false));
    first.reset();
    second.reset();

    store()->parseData(bytes.data(), bytes.size(), 0);
    ASSERT_EQ(store()->getModelsByType(KXModelFont::staticType()).size(), 1u);
    ASSERT_NE(store()->getModel(id), nullptr);
    EXPECT_EQ(store()->getModel(id)->name(), "second");
}

TEST_F(ParseDataTest, UnknownClassLeavesTheModelThatHoldsTheIdAlone) {
    std::shared_ptr<KXModel> font = make("KXModelFont", "kept");
    store()->addModel(font);
    installKeys({font});
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    map.set("id", font->id());
    map.set("Class Name", "KXModelNoSuchClass");
    const std::vector<unsigned char> bytes = bytesOf(map.packToBytes());

    store()->parseData(bytes.data(), bytes.size(), 0);
    EXPECT_EQ(store()->getModel(font->id()), font);
}

TEST_F(ParseDataTest, MapsWithoutIdOrClassAreSkippedAndNilEndsTheBuffer) {
    std::shared_ptr<KXModel> font = make("KXModelFont", "after nil");
    installKeys({font});
    msgpack::zone zone;
    KXMessagePackMap noId(zone);
    noId.set("Class Name", "KXModelFont");
    KXMessagePackMap noClass(zone);
    noClass.set("id", 900u);
    const std::string bytes = noId.packToBytes() + noClass.packToBytes() + std::string(1, '\xc0') +
                              kxdata::packModels({font}, false);
    const uint32_t id = font->id();
    font.reset();

    const std::vector<unsigned char> buffer = bytesOf(bytes);
    store()->parseData(buffer.data(), buffer.size(), 0);
    EXPECT_TRUE(store()->modelsById().empty());
    EXPECT_EQ(store()->getModel(id), nullptr);
}

// A damaged connections file whose children lists close a loop: the loaded models hold each
// other, and clearing the store still lets them all go.
TEST_F(ParseDataTest, ConnectionsThatCloseALoopLeaveNothingBehindWhenCleared) {
    std::shared_ptr<KXModel> first = make("KXModelFont", "first");
    std::shared_ptr<KXModel> second = make("KXModelFont", "second");
    first->addChild(second, true);
    second->addChild(first, true);
    installKeys({first, second});
    const std::vector<unsigned char> values = bytesOf(kxdata::packModels({first, second}, false));
    const std::vector<unsigned char> links = bytesOf(kxdata::packModels({first, second}, true));
    const uint32_t firstId = first->id();
    const uint32_t secondId = second->id();
    first->removeAllChildren(true);
    first.reset();
    second.reset();

    store()->parseData(values.data(), values.size(), 0);
    store()->parseData(links.data(), links.size(), 1);
    std::weak_ptr<KXModel> loadedFirst = store()->getModel(firstId);
    std::weak_ptr<KXModel> loadedSecond = store()->getModel(secondId);
    ASSERT_FALSE(loadedFirst.expired());
    ASSERT_EQ(loadedFirst.lock()->children().size(), 1u);
    EXPECT_EQ(loadedFirst.lock()->children()[0], loadedSecond.lock());
    EXPECT_EQ(loadedSecond.lock()->children()[0], loadedFirst.lock());
    store()->clear();
    EXPECT_TRUE(loadedFirst.expired());
    EXPECT_TRUE(loadedSecond.expired());
}

TEST_F(ParseDataTest, ClaimedSizesBeyondTheBufferFailWithoutReservingThem) {
    // An array, a map and a string that claim 2^32 - 1 elements or bytes, in a few bytes.
    for (const std::string& bytes :
         {std::string("\xdd\xff\xff\xff\xff", 5), std::string("\xdf\xff\xff\xff\xff", 5),
          std::string("\x81\xdd\xff\xff\xff\xff", 6), std::string("\xdb\xff\xff\xff\xff", 5)}) {
        const std::vector<unsigned char> buffer = bytesOf(bytes);
        EXPECT_ANY_THROW(store()->parseData(buffer.data(), buffer.size(), 0));
    }
    // Deep nesting is refused, not followed.
    const std::vector<unsigned char> deep(10000, 0x91);
    EXPECT_ANY_THROW(store()->parseData(deep.data(), deep.size(), 0));
}

TEST_F(ParseDataTest, ConnectionsReachOnlyRegisteredModels) {
    std::shared_ptr<KXModel> screen = make("KXModelScreen", "screen");
    std::shared_ptr<KXModel> label = make("KXModelObjectLabel", "label");
    screen->addChild(label, true);
    installKeys({screen, label});
    const std::vector<unsigned char> links = bytesOf(kxdata::packModels({screen}, true));
    screen->removeAllChildren(true);
    store()->addModel(screen);
    store()->addModel(label);

    store()->parseData(links.data(), links.size(), 1);
    ASSERT_EQ(screen->children().size(), 1u);
    EXPECT_EQ(screen->children()[0], label);

    // The same links for a model that is not registered change nothing.
    store()->clear();
    store()->parseData(links.data(), links.size(), 1);
    EXPECT_EQ(screen->children().size(), 1u);
}
