// Games written to a scratch folder for the loading tests: the folder is the working directory
// while a test runs, so the loader finds "data/..." and "data/data.pkg" there.
#pragma once

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "model/KXModelController.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "temp_folder.h"
#include "tools/kxdata/KXGameWriter.h"

class LoadingTest : public ::testing::Test {
protected:
    static constexpr const char* kUserId = "loader-test-user";

    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
        m_previousFolder = cwd;
        ASSERT_EQ(::chdir(m_folder.path().c_str()), 0);
        store()->closeArchive();
        store()->setArchiveMode(false);
        store()->clear();
    }

    void TearDown() override {
        store()->closeArchive();
        store()->setArchiveMode(false);
        store()->clear();
        KXMessagePackMap::resetKeyState();
        ASSERT_EQ(::chdir(m_previousFolder.c_str()), 0);
    }

    static KXModelController* store() { return KXModelController::shared(); }

    // The general settings of a game to write (the shared instance), with the test's User ID.
    std::shared_ptr<KXModelGeneralSettings> settings() {
        auto instance = KXModelGeneralSettings::shared();
        instance->userIdAttribute()->setValue(kUserId, true);
        return instance;
    }

    static std::shared_ptr<KXModel> make(const std::string& className, const std::string& name) {
        std::shared_ptr<KXModel> model = store()->createModel(className);
        model->setName(name);
        return model;
    }

    // Packs the game (key table installed as the writer's), then empties the store so that the
    // load starts from nothing.
    std::vector<kxdata::PackFile> pack(const kxdata::ModelList& models, size_t perFile = 2) {
        std::vector<kxdata::PackFile> files = kxdata::packGame(models, kUserId, perFile);
        store()->clear();
        return files;
    }

    void writeFolder(const std::vector<kxdata::PackFile>& files) {
        kxdata::writeFolder(m_folder.path(), files);
    }

    void writeArchive(const std::vector<kxdata::PackFile>& files,
                      kxdata::ArchiveCipher cipher = kxdata::ArchiveCipher::None,
                      const std::string& password = std::string()) {
        kxdata::writeFolder(m_folder.path(), {});
        kxdata::writeArchive(m_folder.file("data/data.pkg"), files, cipher, password);
    }

    static std::vector<kxdata::PackFile> without(std::vector<kxdata::PackFile> files,
                                                 const std::string& name) {
        for (auto it = files.begin(); it != files.end(); ++it) {
            if (it->name == name) {
                files.erase(it);
                break;
            }
        }
        return files;
    }

    // Runs steps until one reports the end; the number of steps taken (capped).
    int runSteps(const char* password = nullptr, int limit = 100000) {
        int steps = 0;
        bool done = false;
        while (!done && steps < limit) {
            ++steps;
            done =
                store()->isArchiveMode() ? store()->loadNextArchiveFile(password) : store()->loadNextFile();
        }
        return steps;
    }

    const TempFolder& folder() const { return m_folder; }

private:
    TempFolder m_folder;
    std::string m_previousFolder;
};
