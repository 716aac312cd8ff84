// Persistent key-value store kept in one XML file in the writable folder.
#pragma once

#include <memory>
#include <string>

#include "base/ccMacros.h"

NS_CC_BEGIN

class CCUserDefault {
public:
    static CCUserDefault* sharedUserDefault();
    // Drops the shared instance (unsaved changes are flushed first); the next use reloads the file.
    static void purgeSharedUserDefault();
    // Full path of the store file; empty when no writable folder could be made (the store then
    // lives in memory for the run and is never written, least of all into the game's folder).
    static const std::string& getXMLFilePath();
    // Uses another store file (tests, tools); purges the shared instance. Empty restores the default.
    static void setXMLFilePath(const std::string& path);
    static bool isXMLFileExist();

    ~CCUserDefault();

    // Missing keys or unreadable values give the default.
    bool getBoolForKey(const char* pKey, bool defaultValue = false);
    int getIntegerForKey(const char* pKey, int defaultValue = 0);
    float getFloatForKey(const char* pKey, float defaultValue = 0.0f);
    double getDoubleForKey(const char* pKey, double defaultValue = 0.0);
    std::string getStringForKey(const char* pKey, const std::string& defaultValue = "");

    void setBoolForKey(const char* pKey, bool value);
    void setIntegerForKey(const char* pKey, int value);
    void setFloatForKey(const char* pKey, float value);
    void setDoubleForKey(const char* pKey, double value);
    void setStringForKey(const char* pKey, const std::string& value);

    // Writes the store through replaceFileAtomically (CCStoreFile.h). False, with a log line, when
    // it could not be written: the old file is then untouched and the values stay in memory.
    bool flush();

private:
    CCUserDefault();
    struct Store;
    std::unique_ptr<Store> m_store;
};

NS_CC_END
