#include "platform/CCStoreFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

NS_CC_BEGIN

namespace {

const char* const kTemporarySuffix = ".tmp";
// "<path>.tmp", then ".tmp.1" ... ".tmp.3" when folders hold the earlier names. A fixed short
// list means kills can never leave more than one stale file per name.
const int kTemporaryNames = 4;

std::string describe(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

bool writeAll(int fd, const std::string& data) {
    size_t written = 0;
    while (written < data.size()) {
        ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Opens one temporary file, created exclusively. A store has one writer (its player process) that
// flushes one at a time, so a file found under a temporary name is the leftover of a writer that
// was killed mid-flush: it is replaced. Gives -1 with `error` set when no name can be used.
int openTemporaryFile(const std::string& path, std::string& tempPath, std::string& error,
                      std::string& notes) {
    for (int name = 0; name < kTemporaryNames; ++name) {
        tempPath = path + kTemporarySuffix;
        if (name > 0)
            tempPath += "." + std::to_string(name);
        for (int attempt = 0; attempt < 2; ++attempt) {
            int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (fd >= 0)
                return fd;
            if (errno != EEXIST) {
                error = describe("cannot create", tempPath, errno);
                return -1;
            }
            if (!isFolder(tempPath)) {
                notes += "replacing the stale " + tempPath + "\n";
                if (::unlink(tempPath.c_str()) != 0) {
                    error = describe("cannot remove the stale", tempPath, errno);
                    return -1;
                }
                continue;
            }
            if (::rmdir(tempPath.c_str()) == 0) {
                notes += "removed the empty folder " + tempPath + "\n";
                continue;
            }
            notes += "a folder with content is in the place of " + tempPath + ": using another name\n";
            break;
        }
    }
    error = "folders hold every temporary name beside " + path;
    return -1;
}

// A folder where the file goes: an empty one is in the way by mistake and goes; one with content
// may be someone's data and stays.
bool clearFolderInPlace(const std::string& path, std::string& error, std::string& notes) {
    if (!isFolder(path))
        return true;
    if (::rmdir(path.c_str()) == 0) {
        notes += "removed the empty folder in the place of " + path + "\n";
        return true;
    }
    error = describe("a folder is in the place of", path, errno);
    return false;
}

} // namespace

std::mutex& storeWriteLock() {
    static std::mutex* const lock = new std::mutex();
    return *lock;
}

namespace {
// Trivially destroyed: read while the process exits around it.
std::atomic<unsigned long> writesCompleted{0};
} // namespace

unsigned long storeWritesCompleted() {
    return writesCompleted.load();
}

bool replaceFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                           std::string& notes) {
    std::lock_guard<std::mutex> writing(storeWriteLock());
    if (!clearFolderInPlace(path, error, notes))
        return false;
    std::string tempPath;
    int fd = openTemporaryFile(path, tempPath, error, notes);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, contents) && ::fsync(fd) == 0;
    if (!ok)
        error = describe("cannot write", tempPath, errno);
    if (::close(fd) != 0 && ok) {
        error = describe("cannot write", tempPath, errno);
        ok = false;
    }
    if (ok && std::rename(tempPath.c_str(), path.c_str()) != 0) {
        error = describe("cannot rename the new file over", path, errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    ++writesCompleted;
    return true;
}

NS_CC_END
