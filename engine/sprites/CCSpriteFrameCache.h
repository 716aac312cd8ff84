// Sprite frames by name, mostly loaded from plist atlases (formats 0 to 3).
#pragma once

#include <map>
#include <set>
#include <string>

#include "base/CCObject.h"

namespace cocos2d {

class CCSpriteFrame;
class CCTexture2D;
struct CCPlistValue;

class CCSpriteFrameCache : public CCObject {
public:
    static CCSpriteFrameCache* sharedSpriteFrameCache();
    static void purgeSharedSpriteFrameCache();

    ~CCSpriteFrameCache() override;

    // The texture is the metadata's textureFileName next to the plist, else the plist path
    // with ".png". An unreadable plist or texture is skipped (logged). Loading the same
    // plist twice does nothing.
    void addSpriteFramesWithFile(const char* plist);
    void addSpriteFramesWithFile(const char* plist, const char* textureFileName);
    void addSpriteFramesWithFile(const char* plist, CCTexture2D* texture);
    // Retains frame; replaces a frame of the same name.
    void addSpriteFrame(CCSpriteFrame* frame, const char* frameName);
    // Null when there is no such frame.
    CCSpriteFrame* spriteFrameByName(const char* name);

    void removeSpriteFrames();
    void removeUnusedSpriteFrames();
    void removeSpriteFrameByName(const char* name);
    void removeSpriteFramesFromFile(const char* plist);
    size_t count() const { return m_frames.size(); }

private:
    CCSpriteFrameCache() = default;
    // Adds the frames of a parsed plist; returns the names added.
    std::set<std::string> addFramesFromTree(const CCPlistValue& root, CCTexture2D* texture);
    bool readPlist(const char* plist, std::string* fullPath, CCPlistValue* root);

    std::map<std::string, CCSpriteFrame*> m_frames;
    std::map<std::string, std::string> m_aliases;
    // Full plist path -> names of the frames it brought.
    std::map<std::string, std::set<std::string>> m_loadedFiles;
};

} // namespace cocos2d
