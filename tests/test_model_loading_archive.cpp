// The step-by-step loader in archive mode: the walk over the entries, ciphers, and archives
// that cannot be read.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXDebugLog.h"
#include "model/KXSecrets.h"
#include "model/archive/KXWinZipAes.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelSound.h"
#include "support/loading_fixtures.h"

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

class ArchiveLoadingTest : public LoadingTest {
protected:
    // Settings and `fonts` fonts, `perFile` to a pack file.
    std::vector<kxdata::PackFile> smallGame(int fonts, size_t perFile = 2) {
        kxdata::ModelList models{settings()};
        for (int i = 0; i < fonts; ++i) {
            models.push_back(make("KXModelFont", "font " + std::to_string(i)));
        }
        return pack(models, perFile);
    }

    void startLoad(const char* password = kStoredArchivePassword) {
        store()->setArchiveMode(true);
        store()->loadInitialData("data/data.pkg", password);
    }

    size_t fonts() const { return store()->getModelsByType(KXModelFont::staticType()).size(); }
};

TEST_F(ArchiveLoadingTest, EveryCipherLoadsTheWholeGame) {
    const std::string password = decodePassword(kStoredArchivePassword);
    for (kxdata::ArchiveCipher cipher :
         {kxdata::ArchiveCipher::None, kxdata::ArchiveCipher::ZipCrypto, kxdata::ArchiveCipher::Aes256}) {
        writeArchive(smallGame(5), cipher, password);
        startLoad();
        ASSERT_FALSE(store()->loadFailed()) << store()->lastError();
        runSteps(kStoredArchivePassword);
        EXPECT_EQ(fonts(), 5u);
        EXPECT_EQ(store()->modelsById().size(), 6u);
        EXPECT_EQ(store()->loadingProgress(), 100);
        EXPECT_TRUE(store()->lastError().empty()) << store()->lastError();
        store()->closeArchive();
        store()->clear();
    }
}

// Few records, each large: a step reads a slice of the entry's bytes.
TEST_F(ArchiveLoadingTest, ALargeEntryIsReadOverSeveralStepsBeforeTheWalkGoesOn) {
    kxdata::ModelList models{settings()};
    const std::string longName(4096, 'n');
    const size_t sounds = 5 * KXModelController::kPackSliceBytes / longName.size();
    for (size_t i = 0; i < sounds; ++i) {
        models.push_back(make("KXModelSound", longName + std::to_string(i)));
    }
    writeArchive(pack(models, models.size()));
    startLoad();
    ASSERT_FALSE(store()->loadFailed()) << store()->lastError();
    int partSteps = 0;
    bool done = false;
    while (!done) {
        done = store()->loadNextArchiveFile(kStoredArchivePassword);
        partSteps += store()->isReadingPack() ? 1 : 0;
    }
    EXPECT_GE(partSteps, 4);
    EXPECT_EQ(store()->getModelsByType(KXModelSound::staticType()).size(), sounds);
    EXPECT_EQ(store()->loadingProgress(), 100);
    EXPECT_TRUE(store()->lastError().empty()) << store()->lastError();
}

TEST_F(ArchiveLoadingTest, EachAesEntryIsDecryptedOnceOverTheWholeLoad) {
    // The loading screen's own entries are read first and met again by the walk.
    const std::vector<kxdata::PackFile> files = smallGame(3, 1);
    writeArchive(files, kxdata::ArchiveCipher::Aes256, decodePassword(kStoredArchivePassword));
    const uint64_t before = winZipAesKeyDerivations();
    startLoad();
    runSteps(kStoredArchivePassword);
    EXPECT_FALSE(store()->loadFailed()) << store()->lastError();
    EXPECT_EQ(fonts(), 3u);
    EXPECT_EQ(winZipAesKeyDerivations() - before, files.size());

    // A second load of the same archive reads every entry again, from the archive.
    store()->closeArchive();
    store()->clear();
    startLoad();
    runSteps(kStoredArchivePassword);
    EXPECT_EQ(fonts(), 3u);
    EXPECT_EQ(winZipAesKeyDerivations() - before, 2 * files.size());
}

TEST_F(ArchiveLoadingTest, EntriesAreChosenByTheMarkerInTheirName) {
    std::vector<kxdata::PackFile> files = smallGame(0);
    std::shared_ptr<KXModel> marked = make("KXModelFont", "marked");
    std::shared_ptr<KXModel> unmarked = make("KXModelFont", "unmarked");
    // The writer's key table is still installed: these maps use the same ids.
    KXMessagePackMap::installKeyTable(kxdata::keyTableFor(
        kxdata::keyFileLines(kxdata::collectKeyNames({KXModelGeneralSettings::shared(), marked}))));
    files.push_back({"KXModelFont.extra.attributes.bin", kxdata::packModels({marked}, false)});
    files.push_back({"fonts-backup.bin", kxdata::packModels({unmarked}, false)});
    const uint32_t markedId = marked->id();
    const uint32_t unmarkedId = unmarked->id();
    // The key file must list what these maps use.
    files[0] = {"Keys.pack",
                scrambleKeyList(kxdata::keyFileLines(KXMessagePackMap::registeredKeyNames()), kUserId)};
    marked.reset();
    unmarked.reset();
    store()->clear();
    writeArchive(files);

    startLoad();
    runSteps(kStoredArchivePassword);
    ASSERT_NE(store()->getModel(markedId), nullptr);
    EXPECT_EQ(store()->getModel(markedId)->name(), "marked");
    EXPECT_EQ(store()->getModel(unmarkedId), nullptr);
}

TEST_F(ArchiveLoadingTest, ManyEntriesPerClassKeepProgressWithinEachHalf) {
    // One font per file, more files than there are registered classes.
    const int fontFiles = static_cast<int>(store()->classCount()) + 8;
    writeArchive(smallGame(fontFiles, 1));
    startLoad();
    std::vector<int32_t> seen;
    bool done = false;
    while (!done) {
        const int32_t pass = store()->loadState().pass;
        done = store()->loadNextArchiveFile(kStoredArchivePassword);
        seen.push_back(store()->loadingProgress());
        if (pass == 0) {
            EXPECT_LE(seen.back(), 50);
        }
    }
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_EQ(fonts(), static_cast<size_t>(fontFiles));

    // Once the entry has closed the archive, further steps do nothing.
    store()->closeArchive();
    EXPECT_FALSE(store()->loadNextArchiveFile(kStoredArchivePassword));
    EXPECT_EQ(fonts(), static_cast<size_t>(fontFiles));
}

TEST_F(ArchiveLoadingTest, WrongPasswordFailsTheLoadWithTheReaderReason) {
    writeArchive(smallGame(2), kxdata::ArchiveCipher::Aes256, "not the password");
    startLoad();
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(
        store()->lastError(),
        "Unable to load data: Unable to open a file: Error P17 (data/data.pkg: the entry \"Keys.pack\")");
    EXPECT_TRUE(store()->loadNextArchiveFile(kStoredArchivePassword));

    store()->closeArchive();
    store()->clear();
    writeArchive(smallGame(2), kxdata::ArchiveCipher::ZipCrypto, "not the password");
    startLoad();
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_TRUE(startsWith(store()->lastError(), "Unable to load data: Unable to ")) << store()->lastError();
}

TEST_F(ArchiveLoadingTest, UnreadableArchiveFailsTheLoadInsteadOfSpinning) {
    kxdata::writeFolder(folder().path(), {{"data.pkg", "this is not a zip archive, only text"}});
    KXDebugLogCapture log;
    startLoad();
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_TRUE(startsWith(store()->lastError(), "No data archive: Unable to open the archive"))
        << store()->lastError();
    EXPECT_TRUE(store()->loadNextArchiveFile(kStoredArchivePassword));
    EXPECT_TRUE(std::any_of(log.lines().begin(), log.lines().end(), [](const std::string& line) {
        return startsWith(line, "[KXModelController] open archive - fail: ");
    }));
}

TEST_F(ArchiveLoadingTest, MissingKeyEntryFailsTheLoad) {
    writeArchive(without(smallGame(2), "Keys.pack"));
    startLoad();
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(store()->lastError(), "Failed to load keys: Keys.pack: the archive holds no such entry");
}

TEST_F(ArchiveLoadingTest, OperationsWithoutAnArchiveReportIt) {
    KXDebugLogCapture log;
    EXPECT_EQ(store()->loadDataFromArchive("KXModelFont.0.attributes.pack", 0, nullptr), 2);
    EXPECT_EQ(store()->lastError(), "No data archive");
    EXPECT_TRUE(log.contains("[KXModelController] load data - fail"));

    std::vector<unsigned char> data{1, 2, 3};
    EXPECT_FALSE(store()->readFileArchive("Keys.pack", data, nullptr));
    EXPECT_TRUE(data.empty());
    EXPECT_TRUE(log.contains("[KXModelController] readFileArchive error - dataArchive is empty"));
}

TEST_F(ArchiveLoadingTest, DamagedEntryEndsItsTurnAndTheLoadGoesOn) {
    std::vector<kxdata::PackFile> files = smallGame(4);
    for (kxdata::PackFile& file : files) {
        if (file.name == "KXModelFont.1.attributes.pack") {
            file.bytes.pop_back();
        }
    }
    writeArchive(files);
    startLoad();
    runSteps(kStoredArchivePassword);
    EXPECT_FALSE(store()->loadFailed());
    // An entry is named as the archive holds it.
    EXPECT_EQ(store()->lastError(), "Unable to load data: KXModelFont.1.attributes.pack: insufficient bytes");
    EXPECT_EQ(fonts(), 3u);
}
