// The store makes room for a game's models from its data before the first step, so that no step
// grows the id table (a rehash of every model in one step).
#include <string>

#include <gtest/gtest.h>

#include "model/KXSecrets.h"
#include "support/loading_fixtures.h"

class LoadingRoomTest : public LoadingTest {
protected:
    static constexpr size_t kFonts = 3000;

    // Settings and kFonts fonts, a hundred to a pack file, as loose files or as an archive.
    void writeGame(bool archive) {
        kxdata::ModelList models{settings()};
        for (size_t i = 0; i < kFonts; ++i) {
            models.push_back(make("KXModelFont", "font " + std::to_string(i)));
        }
        const std::vector<kxdata::PackFile> files = pack(models, 100);
        if (archive) {
            writeArchive(files);
        } else {
            writeFolder(files);
        }
    }

    void finish() {
        store()->closeArchive();
        store()->setArchiveMode(false);
        store()->clear();
    }
};

TEST_F(LoadingRoomTest, TheIdTableHasRoomForEveryModelBeforeTheFirstStep) {
    for (bool archive : {false, true}) {
        SCOPED_TRACE(archive ? "archive" : "folder");
        writeGame(archive);
        store()->setArchiveMode(archive);
        store()->loadInitialData("data/data.pkg", kStoredArchivePassword);
        ASSERT_FALSE(store()->loadFailed()) << store()->lastError();
        EXPECT_GE(store()->expectedModelCount(), kFonts + 1);
        const size_t buckets = store()->modelsById().bucket_count();
        EXPECT_GE(static_cast<double>(buckets) * store()->modelsById().max_load_factor(),
                  static_cast<double>(kFonts + 1));

        runSteps(kStoredArchivePassword);
        EXPECT_EQ(store()->modelsById().size(), kFonts + 1);
        EXPECT_EQ(store()->modelsById().bucket_count(), buckets);
        finish();
    }
}

TEST_F(LoadingRoomTest, DataWithoutAttributesFilesAsksForNoRoom) {
    writeFolder({});
    EXPECT_EQ(store()->expectedModelCount(), 0u);
    // Archive mode without an open archive.
    store()->setArchiveMode(true);
    EXPECT_EQ(store()->expectedModelCount(), 0u);
    finish();
}
