// File access: reads whole files, resolves names, and knows the per-game writable folder.
#pragma once

#include <string>
#include <vector>

#include "base/ccMacros.h"

NS_CC_BEGIN

class CCFileUtils {
public:
    static CCFileUtils* sharedFileUtils();
    static void purgeFileUtils();

    virtual ~CCFileUtils() = default;

    // Whole file as a new[]-allocated buffer that the caller frees with delete[]; *pSize gets its
    // length. A missing or unreadable file gives null and size 0. Relative paths resolve against the
    // search paths, then the working directory.
    virtual unsigned char* getFileData(const char* pszFileName, const char* pszMode, unsigned long* pSize);
    // Same as getFileData, into a byte vector; false when the file cannot be read.
    bool readFile(const std::string& filename, std::vector<unsigned char>& out);

    // The path under which the file is found; the name itself when it is absolute or not found.
    virtual std::string fullPathForFilename(const char* pszFileName);
    // Regular files only.
    virtual bool isFileExist(const std::string& strFilePath);
    bool isAbsolutePath(const std::string& strPath) const { return !strPath.empty() && strPath[0] == '/'; }

    // Folders searched, in order, before the working directory for relative names.
    void setSearchPaths(const std::vector<std::string>& searchPaths);
    void addSearchPath(const char* path);
    const std::vector<std::string>& getSearchPaths() const { return m_searchPathArray; }

    // $XDG_DATA_HOME (or $HOME/.local/share) + "/kxplayer/<folder name>/", created on demand;
    // ends with "/". Empty (and logged) when no folder can be made.
    virtual std::string getWritablePath();
    // The game's name; its writable folder is named after it (see safeFolderName).
    void setApplicationName(const std::string& name);
    const std::string& getApplicationName() const { return m_applicationName; }

protected:
    CCFileUtils() = default;

    std::vector<std::string> m_searchPathArray;
    std::string m_applicationName = "default";
};

NS_CC_END
