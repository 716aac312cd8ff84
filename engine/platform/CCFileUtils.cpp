#include "platform/CCFileUtils.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    unsigned long long size = 0;
    if (!admitFile(path, &size) || size == 0)
        return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    unsigned char* buffer = new (std::nothrow) unsigned char[static_cast<size_t>(size)];
    if (!buffer) {
        CCLOG("file refused: %s: no memory for its %llu bytes", path.c_str(), size);
        std::fclose(file);
        return nullptr;
    }
    // The size was taken before the read: a file that grows meanwhile is not read past it.
    const size_t read = std::fread(buffer, 1, static_cast<size_t>(size), file);
    // A read error is no file, not a shorter one: what was read would pass for damaged data.
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (read == 0 || failed) {
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
    unsigned long long size = 0;
    if (!admitFile(path, &size))
        return false;
    // An empty file is still a file.
    if (size == 0)
        return true;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    try {
        out.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        CCLOG("file refused: %s: no memory for its %llu bytes", path.c_str(), size);
        std::fclose(file);
        std::vector<unsigned char>().swap(out);
        return false;
    }
    out.resize(std::fread(out.data(), 1, out.size(), file));
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        CCLOG("file refused: %s: reading it failed", path.c_str());
        std::vector<unsigned char>().swap(out);
        return false;
    }
    return true;
}

bool CCFileUtils::admitFile(const std::string& path, unsigned long long* size) {
    if (size)
        *size = 0;
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if (!m_gameFolder.empty()) {
        // Links are followed first, so that neither "..", an absolute name nor a link leads out.
        char* real = ::realpath(path.c_str(), nullptr);
        const bool inside = real && ccPathWithin(real, m_gameFolder);
        std::free(real);
        if (!inside) {
            logRefusal(path, "file refused: %s lies outside the game folder", path.c_str());
            return false;
        }
    }
    const CCFileKind kind = ccFileKindForPath(path);
    const unsigned long long length = static_cast<unsigned long long>(info.st_size);
    if (length > ccFileSizeCap(kind)) {
        logRefusal(path, "file refused: %s has %llu bytes, above the %llu of a %s", path.c_str(), length,
                   static_cast<unsigned long long>(ccFileSizeCap(kind)), ccFileKindName(kind));
        return false;
    }
    if (size)
        *size = length;
    return true;
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
    char* real = ::realpath(folder.c_str(), nullptr);
    if (real)
        m_gameFolder = real;
    else
        CCLOG("game folder %s cannot be resolved: reads stay unconfined", folder.c_str());
    std::free(real);
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
