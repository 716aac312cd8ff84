// The demo game as the player finds it: `kxdata write-demo` writes it into a temporary folder,
// which becomes the working folder until the fixture goes. Tests may remove or change its files
// before the player starts.
#pragma once

#include <climits>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"

extern char** environ;

namespace kxtest {

class DemoGameFolder {
public:
    DemoGameFolder() = default;
    DemoGameFolder(const DemoGameFolder&) = delete;
    DemoGameFolder& operator=(const DemoGameFolder&) = delete;
    ~DemoGameFolder() {
        if (!m_previousFolder.empty() && ::chdir(m_previousFolder.c_str()) != 0) {
            m_previousFolder.clear();
        }
    }

    // False (with the reason) when the tool is missing or fails.
    bool write(std::string* failure) {
        const std::string tool = std::string(KX_BINARY_DIR) + "/kxdata";
        if (::access(tool.c_str(), X_OK) != 0) {
            *failure = "kxdata is not built";
            return false;
        }
        const std::string command = "write-demo";
        char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>(command.c_str()),
                        const_cast<char*>(m_folder.path().c_str()), nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        const int spawned = posix_spawn(&child, tool.c_str(), &quiet, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&quiet);
        int status = 0;
        if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            *failure = "kxdata write-demo failed";
            return false;
        }
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr || ::chdir(m_folder.path().c_str()) != 0) {
            *failure = "cannot enter the demo folder";
            return false;
        }
        m_previousFolder = cwd;
        return true;
    }

    const TempFolder& folder() const { return m_folder; }

private:
    TempFolder m_folder;
    std::string m_previousFolder;
};

} // namespace kxtest
