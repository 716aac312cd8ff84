#include "platform/CCFileUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CCFolderName.h"

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
    std::string path = fullPathForFilename(pszFileName);
    if (!isRegularFile(path))
        return nullptr;
    // Binary reads whatever mode was asked for: there is no text translation on this system.
    (void)pszMode;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long end = std::ftell(file);
        if (end > 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            buffer = new unsigned char[static_cast<size_t>(end)];
            size = std::fread(buffer, 1, static_cast<size_t>(end), file);
            if (size == 0) {
                delete[] buffer;
                buffer = nullptr;
            }
        }
    }
    std::fclose(file);
    if (pSize)
        *pSize = size;
    return buffer;
}

bool CCFileUtils::readFile(const std::string& filename, std::vector<unsigned char>& out) {
    unsigned long size = 0;
    unsigned char* data = getFileData(filename.c_str(), "rb", &size);
    out.clear();
    if (!data) {
        // An empty file is still a file.
        return isFileExist(fullPathForFilename(filename.c_str()));
    }
    out.assign(data, data + size);
    delete[] data;
    return true;
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
