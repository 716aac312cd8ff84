#include "platform/CCFileUtils.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CCFileLimits.h"
#include "platform/CCFolderName.h"
#include "platform/CCPathRules.h"

NS_CC_BEGIN

namespace {

CCFileUtils* sharedUtils = nullptr;

bool isRegularFile(const std::string& path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// mkdir -p; true when the folder exists afterwards (else errno says why).
bool makeFolders(const std::string& path) {
    std::string partial;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        partial = path.substr(0, slash);
        if (!partial.empty() && ::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        start = slash + 1;
    }
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

std::string workingFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

std::string dataHome() {
    // The XDG rules ignore a relative XDG_DATA_HOME.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    std::string homePath = home && home[0] == '/' ? home : "";
    if (homePath.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()))
            homePath = entry->pw_dir ? entry->pw_dir : "";
    }
    if (homePath.empty())
        return std::string();
    return homePath + "/.local/share";
}

} // namespace

CCFileUtils* CCFileUtils::sharedFileUtils() {
    if (!sharedUtils)
        sharedUtils = new CCFileUtils();
    return sharedUtils;
}

void CCFileUtils::purgeFileUtils() {
    delete sharedUtils;
    sharedUtils = nullptr;
}

unsigned char* CCFileUtils::getFileData(const char* pszFileName, const char* pszMode, unsigned long* pSize) {
    if (pSize)
        *pSize = 0;
    if (!pszFileName || !pszFileName[0])
        return nullptr;
    // Binary reads whatever mode was asked for: there is no text translation on this system.
    (void)pszMode;
    const std::string path = fullPathForFilename(pszFileName);
    const CCOpenedFile file = openFile(path);
    if (!file || file.size() == 0)
        return nullptr;
    unsigned char* buffer = new (std::nothrow) unsigned char[static_cast<size_t>(file.size())];
    if (!buffer) {
        CCLOG("file refused: %s: no memory for its %llu bytes", path.c_str(),
              static_cast<unsigned long long>(file.size()));
        return nullptr;
    }
    size_t read = 0;
    // A read error is no file, not a shorter one: what was read would pass for damaged data.
    if (!file.read(buffer, static_cast<size_t>(file.size()), &read) || read == 0) {
        delete[] buffer;
        return nullptr;
    }
    if (pSize)
        *pSize = read;
    return buffer;
}

bool CCFileUtils::readFile(const std::string& filename, std::vector<unsigned char>& out) {
    out.clear();
    const std::string path = fullPathForFilename(filename.c_str());
    const CCOpenedFile file = openFile(path);
    if (!file)
        return false;
    try {
        if (file.readAll(out))
            return true;
    } catch (const std::bad_alloc&) {
        CCLOG("file refused: %s: no memory for its %llu bytes", path.c_str(),
              static_cast<unsigned long long>(file.size()));
        std::vector<unsigned char>().swap(out);
        return false;
    }
    CCLOG("file refused: %s: reading it failed", path.c_str());
    return false;
}

CCOpenedFile CCFileUtils::refuseSpecialFile(const std::string& path, unsigned int mode) {
    const char* kind = S_ISFIFO(mode)                   ? "a pipe"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISDIR(mode)                  ? "a folder"
                       : S_ISSOCK(mode)                 ? "a socket"
                                                        : "a special file";
    const std::string why = std::string("is not a regular file but ") + kind;
    logRefusal(path, "file refused: %s %s", path.c_str(), why.c_str());
    return CCOpenedFile::notOpened(S_ISDIR(mode) ? EISDIR : EINVAL, why);
}

CCOpenedFile CCFileUtils::openFile(const std::string& path) {
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return CCOpenedFile::notOpened(path.empty() ? ENOENT : errno);
    // A special file is not even opened: opening a device can act on it.
    if (!S_ISREG(info.st_mode))
        return refuseSpecialFile(path, info.st_mode);
    // Without blocking: what the name leads to may have become a pipe since.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return CCOpenedFile::notOpened(errno);
    CCOpenedFile file(descriptor, 0);
    if (::fstat(descriptor, &info) != 0)
        return CCOpenedFile::notOpened(errno);
    if (!S_ISREG(info.st_mode))
        return refuseSpecialFile(path, info.st_mode);
    const CCFileKind kind = ccFileKindForPath(path);
    const unsigned long long length = static_cast<unsigned long long>(info.st_size);
    if (length > ccFileSizeCap(kind)) {
        const std::string why = "has " + std::to_string(length) + " bytes, above the " +
                                std::to_string(ccFileSizeCap(kind)) + " of a " + ccFileKindName(kind);
        logRefusal(path, "file refused: %s %s", path.c_str(), why.c_str());
        return CCOpenedFile::notOpened(EFBIG, why);
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return CCOpenedFile(file.release(), length);
}

std::string CCFileUtils::resolveNamedFile(const std::string& referrer, const std::string& name) {
    if (name.empty())
        return std::string();
    const std::string folder = ccDirectoryOf(referrer);
    const std::string joined = ccNormalizePath(folder + name);
    bool inside = !isAbsolutePath(name) && name.find('\0') == std::string::npos;
    if (inside && !m_gameFolder.empty()) {
        const std::string absolute = isAbsolutePath(joined) ? joined : workingFolder() + "/" + joined;
        inside = ccPathWithin(absolute, m_gameFolder);
    } else if (inside) {
        inside = ccPathWithin(joined, isAbsolutePath(referrer) ? folder : std::string("."));
    }
    if (!inside) {
        logRefusal(referrer + "\n" + name, "file refused: \"%s\" named by %s leads outside the game folder",
                   name.c_str(), referrer.c_str());
        return std::string();
    }
    return joined;
}

void CCFileUtils::logRefusal(const std::string& path, const char* format, ...) {
    // Bounded: past this many distinct files every refusal is logged again.
    constexpr size_t kMaxRemembered = 4096;
    if (m_refused.count(path))
        return;
    if (m_refused.size() < kMaxRemembered)
        m_refused.insert(path);
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    // Names come from game files: a control character in one must not break the line.
    for (char* c = line; *c; ++c) {
        if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7f)
            *c = '?';
    }
    CCLOG("%s", line);
}

void CCFileUtils::setGameFolder(const std::string& folder) {
    m_gameFolder.clear();
    if (folder.empty())
        return;
    // Lexical, like the names checked against it: "game/data/.." is "game" even when data/ is a
    // link to another disk.
    const std::string absolute = isAbsolutePath(folder) ? folder : workingFolder() + "/" + folder;
    if (isAbsolutePath(absolute))
        m_gameFolder = ccNormalizePath(absolute);
    else
        CCLOG("game folder %s cannot be found: names stay only within their file's folder", folder.c_str());
}

std::string CCFileUtils::fullPathForFilename(const char* pszFileName) {
    if (!pszFileName)
        return std::string();
    std::string name = pszFileName;
    if (name.empty() || isAbsolutePath(name))
        return name;
    for (const std::string& folder : m_searchPathArray) {
        std::string candidate = folder + name;
        if (isRegularFile(candidate))
            return candidate;
    }
    return name;
}

bool CCFileUtils::isFileExist(const std::string& strFilePath) {
    return isRegularFile(isAbsolutePath(strFilePath) ? strFilePath
                                                     : fullPathForFilename(strFilePath.c_str()));
}

void CCFileUtils::setSearchPaths(const std::vector<std::string>& searchPaths) {
    m_searchPathArray.clear();
    for (const std::string& path : searchPaths)
        addSearchPath(path.c_str());
}

void CCFileUtils::addSearchPath(const char* path) {
    if (!path || !path[0])
        return;
    std::string folder = path;
    if (folder.back() != '/')
        folder += '/';
    m_searchPathArray.push_back(folder);
}

std::string CCFileUtils::getWritablePath() {
    std::string base = dataHome();
    if (base.empty()) {
        std::fprintf(stderr, "[CCFileUtils] no writable folder: neither XDG_DATA_HOME nor a home folder\n");
        return std::string();
    }
    std::string folder = base + "/kxplayer/" + m_applicationName;
    if (!makeFolders(folder)) {
        std::fprintf(stderr, "[CCFileUtils] cannot make the writable folder %s: %s\n", folder.c_str(),
                     std::strerror(errno));
        return std::string();
    }
    return folder + "/";
}

void CCFileUtils::setApplicationName(const std::string& name) {
    m_applicationName = safeFolderName(name);
}

NS_CC_END
