// The sample game end to end: `kxdata write-sample` writes the models and their media, the
// loader reads the models back, and the media models then give textures, sprite frames (through
// the atlas), running sprites, labels and physics shapes.

#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/temp_folder.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace cocos2d;

namespace {

int runProgram(const std::string& program, const std::string& argument1, const std::string& argument2) {
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument1.c_str()),
                    const_cast<char*>(argument2.c_str()), nullptr};
    // The tool's report is not this test's business.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SampleMedia : public kxtest::SceneTest {
protected:
    TempFolder folder;
    std::string previousFolder;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        const std::string tool = std::string(KX_BINARY_DIR) + "/kxdata";
        if (::access(tool.c_str(), X_OK) != 0) {
            GTEST_SKIP() << "kxdata is not built";
        }
        ASSERT_EQ(runProgram(tool, "write-sample", folder.path()), 0);

        char cwd[PATH_MAX];
        ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
        previousFolder = cwd;
        ASSERT_EQ(::chdir(folder.path().c_str()), 0);
        purgeCaches();
        KXModelController* store = KXModelController::shared();
        store->clear();
        store->setArchiveMode(false);
        store->loadInitialData("data/data.pkg", kStoredArchivePassword);
        bool done = false;
        for (int step = 0; step < 100000 && !done; ++step) {
            done = store->loadNextFile();
        }
        ASSERT_TRUE(done);
        ASSERT_FALSE(store->loadFailed()) << store->lastError();
        for (const auto& atlas : getModels<KXModelAtlas>()) {
            CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(atlas->plistPath().c_str());
        }
    }

    void TearDown() override {
        purgeCaches();
        resetModelCore();
        if (!previousFolder.empty()) {
            EXPECT_EQ(::chdir(previousFolder.c_str()), 0);
        }
        kxtest::SceneTest::TearDown();
    }

    static void purgeCaches() {
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        CCTextureCache::purgeSharedTextureCache();
        CCLabelBMFont::purgeCachedData();
    }
};

TEST_F(SampleMedia, SpritesHaveTexturesAndAtlasFrames) {
    const auto sprites = getModels<KXModelSprite>();
    ASSERT_FALSE(sprites.empty());
    for (const auto& sprite : sprites) {
        CCTexture2D* texture = sprite->texture();
        ASSERT_NE(texture, nullptr) << sprite->imagePath();
        EXPECT_EQ(texture->getPixelsWide(), static_cast<unsigned>(sprite->size().width));
        CCSpriteFrame* frame = sprite->spriteFrame();
        ASSERT_NE(frame, nullptr) << sprite->spriteFrameName();
        EXPECT_TRUE(frame->getRect().size.equals(sprite->size()));
    }
}

TEST_F(SampleMedia, ContainersRunTheirAnimationsAndStillImagesStayStill) {
    int animated = 0;
    for (const auto& container : getModels<KXModelSpriteContainer>()) {
        ASSERT_FALSE(container->sprites().empty());
        CCSprite* sprite = container->getSprite(1.0f, true);
        ASSERT_NE(sprite, nullptr) << container->name();
        if (container->sprites().size() > 1) {
            ++animated;
            EXPECT_GT(container->animationSpeed(), 0.0f);
            EXPECT_NE(sprite->getActionByTag(KXBaseModelSpriteContainer::kAnimationActionTag), nullptr);
        } else {
            EXPECT_EQ(sprite->numberOfRunningActions(), 0u);
        }
        EXPECT_TRUE(container->frameSizeAt(0.0f).equals(
            static_cast<KXModelSprite&>(*container->sprites()[0]).size()));
        sprite->release();
    }
    EXPECT_GE(animated, 1);
}

TEST_F(SampleMedia, FontsGiveLabelsAndSoundsAreMp3) {
    const auto fonts = getModels<KXModelFont>();
    ASSERT_FALSE(fonts.empty());
    for (const auto& font : fonts) {
        CCLabelBMFont* label = font->createLabel();
        ASSERT_NE(label, nullptr) << font->fontFile();
        EXPECT_GT(label->glyphCount(), 0u);
        label->release();
    }
    const auto sounds = getModels<KXModelSound>();
    ASSERT_FALSE(sounds.empty());
    for (const auto& sound : sounds) {
        std::ifstream in(sound->soundPath(), std::ios::binary);
        unsigned char head[3] = {};
        in.read(reinterpret_cast<char*>(head), 3);
        ASSERT_TRUE(in) << sound->soundPath();
        const bool tagged = head[0] == 'I' && head[1] == 'D' && head[2] == '3';
        const bool frameSync = head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
        EXPECT_TRUE(tagged || frameSync) << sound->soundPath();
    }
}

TEST_F(SampleMedia, ShapesAndAssetsGivePhysicsFixtures) {
    for (const auto& polygon : getModels<KXModelPolygon>()) {
        EXPECT_GE(polygon->pointCount(), 3);
        b2FixtureDef definition = polygon->fixtureDef(1.0f, 1.0f);
        ASSERT_NE(definition.shape, nullptr) << polygon->name();
        EXPECT_EQ(definition.shape->GetType(), b2Shape::e_polygon);
        delete definition.shape;
    }
    for (const auto& circle : getModels<KXModelCircle>()) {
        std::unique_ptr<b2Shape> shape = circle->createShape(1.0f, 1.0f);
        ASSERT_NE(shape, nullptr) << circle->name();
        EXPECT_FLOAT_EQ(shape->m_radius, circle->radius() * 0.05f);
        EXPECT_GT(shape->m_radius, 0.0f);
    }
    int assets = 0;
    for (const auto& asset : getModelsOfKind<KXModelAsset>()) {
        ++assets;
        EXPECT_TRUE(asset->isCollisionShapeUsable(1.0f, 1.0f)) << asset->name();
    }
    EXPECT_GE(assets, 3);
}

} // namespace
