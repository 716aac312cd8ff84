// The sample game as the player sees it: `kxdata write-sample` writes it into a temporary folder,
// which becomes the working folder, and the model store loads it step by step the way the
// player does; the atlases then go to the sprite-frame cache. Tests look its models up by name
// and adjust them before they build runtime objects from them.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "model/KXSecrets.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelQueries.h"
#include "support/model_test_models.h"
#include "support/temp_folder.h"

extern char** environ;

namespace kxtest {

class SampleGame {
public:
    SampleGame() = default;
    SampleGame(const SampleGame&) = delete;
    SampleGame& operator=(const SampleGame&) = delete;

    ~SampleGame() {
        purgeCaches();
        resetModelCore();
        if (!m_previousFolder.empty()) {
            EXPECT_EQ(::chdir(m_previousFolder.c_str()), 0);
        }
    }

    // Writes the game (the sample, or the demo with "write-demo") and makes its folder the working
    // folder; false (with the reason) when the tool is not built or fails.
    bool write(std::string* failure, const std::string& command = "write-sample") {
        const std::string tool = std::string(KX_BINARY_DIR) + "/kxdata";
        if (::access(tool.c_str(), X_OK) != 0) {
            *failure = "kxdata is not built";
            return false;
        }
        if (runQuietly(tool, command, m_folder.path()) != 0) {
            *failure = "kxdata " + command + " failed";
            return false;
        }
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr || ::chdir(m_folder.path().c_str()) != 0) {
            *failure = "cannot enter the game folder";
            return false;
        }
        m_previousFolder = cwd;
        purgeCaches();
        store()->clear();
        store()->setArchiveMode(false);
        return true;
    }

    // The key table and the general settings: what loading starts with.
    void beginLoad() { store()->loadInitialData("data/data.pkg", kStoredArchivePassword); }
    // One more file; true when the last one is in.
    bool loadStep() { return store()->loadNextFile(); }

    // Loads the whole game and gives the atlases to the sprite-frame cache.
    bool load(std::string* failure) {
        beginLoad();
        bool done = false;
        for (int step = 0; step < 100000 && !done; ++step) {
            done = loadStep();
        }
        if (!done || store()->loadFailed()) {
            *failure = "the sample did not load: " + store()->lastError();
            return false;
        }
        for (const auto& atlas : getModels<KXModelAtlas>()) {
            cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
                atlas->plistPath().c_str());
        }
        return true;
    }

    // The first loaded model of exactly class T with that name.
    template <class T> std::shared_ptr<T> named(const std::string& name) const {
        for (const std::shared_ptr<T>& model : getModels<T>()) {
            if (model->name() == name) {
                return model;
            }
        }
        return nullptr;
    }

    static KXModelController* store() { return KXModelController::shared(); }

    static void purgeCaches() {
        cocos2d::CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        cocos2d::CCLabelBMFont::purgeCachedData();
    }

private:
    static int runQuietly(const std::string& program, const std::string& argument1,
                          const std::string& argument2) {
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument1.c_str()),
                        const_cast<char*>(argument2.c_str()), nullptr};
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

    TempFolder m_folder;
    std::string m_previousFolder;
};

} // namespace kxtest
