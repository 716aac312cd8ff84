// File access: reads whole files, resolves names, and knows the per-game writable folder.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "base/ccMacros.h"
#include "platform/CCOpenedFile.h"

NS_CC_BEGIN

class CCFileUtils {
public:
    static CCFileUtils* sharedFileUtils();
    static void purgeFileUtils();

    virtual ~CCFileUtils() = default;

    // Whole file as a new[]-allocated buffer that the caller frees with delete[]; *pSize gets its
    // length. A missing or unreadable file gives null and size 0, and so does a file that openFile
    // refuses or that memory cannot hold (with a log line). Relative paths resolve against the
    // search paths, then the working directory.
    virtual unsigned char* getFileData(const char* pszFileName, const char* pszMode, unsigned long* pSize);
    // Same as getFileData, into a byte vector; false when the file cannot be read.
    bool readFile(const std::string& filename, std::vector<unsigned char>& out);

    // Opens a game file once for reading, at `path` as given (no search paths): a regular file
    // within the size cap of its kind (CCFileLimits.h), checked on the opened descriptor. Links
    // are followed: where game files lie is the user's choice (names that game files give are
    // confined by resolveNamedFile). A refusal logs one line; a missing file answers silently.
    // Special files are refused without being opened for long, so a pipe cannot hold the read.
    CCOpenedFile openFile(const std::string& path);
    // The file that a game file (referrer) names, such as a font's page or an atlas's picture:
    // joined to the referrer's folder and normalised. Empty, with one log line, when the name is
    // absolute or climbs out of the game folder, lexically (with no game folder set: out of the
    // working folder for a relative referrer, out of the referrer's own folder for an absolute one).
    std::string resolveNamedFile(const std::string& referrer, const std::string& name);
    // The folder that names game files give stay in, made absolute and normalised lexically (a
    // relative one from the working folder); empty: names are confined only as said above.
    void setGameFolder(const std::string& folder);
    const std::string& getGameFolder() const { return m_gameFolder; }

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
    std::string m_gameFolder;
    // Files already refused: each is logged once, however often the game asks for it.
    std::set<std::string> m_refused;

private:
    // Refuses what is not a regular file, naming what it is (a pipe, a device, a folder).
    CCOpenedFile refuseSpecialFile(const std::string& path, unsigned int mode);
    void logRefusal(const std::string& path, const char* format, ...) __attribute__((format(printf, 3, 4)));
};

NS_CC_END
