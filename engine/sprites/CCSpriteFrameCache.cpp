#include "sprites/CCSpriteFrameCache.h"

#include <cmath>
#include <vector>

#include "platform/CCFileUtils.h"
#include "sprites/CCPlistTree.h"
#include "sprites/CCSpriteFrame.h"
#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"

namespace cocos2d {

namespace {

CCSpriteFrameCache* g_sharedSpriteFrameCache = nullptr;

std::string stringOf(const CCPlistValue& dict, const char* key) {
    const CCPlistValue* value = dict.find(key);
    return value ? value->asString() : std::string();
}

float floatOf(const CCPlistValue& dict, const char* key) {
    const CCPlistValue* value = dict.find(key);
    return value ? value->asFloat() : 0.f;
}

bool boolOf(const CCPlistValue& dict, const char* key) {
    const CCPlistValue* value = dict.find(key);
    return value && value->asBool();
}

bool sane(float v) {
    return std::isfinite(v) && std::fabs(v) < 1.0e6f;
}

bool saneRect(const CCRect& r) {
    return sane(r.origin.x) && sane(r.origin.y) && sane(r.size.width) && sane(r.size.height) &&
           r.size.width >= 0 && r.size.height >= 0;
}

} // namespace

CCSpriteFrameCache* CCSpriteFrameCache::sharedSpriteFrameCache() {
    if (!g_sharedSpriteFrameCache)
        g_sharedSpriteFrameCache = new CCSpriteFrameCache();
    return g_sharedSpriteFrameCache;
}

void CCSpriteFrameCache::purgeSharedSpriteFrameCache() {
    CC_SAFE_RELEASE_NULL(g_sharedSpriteFrameCache);
}

CCSpriteFrameCache::~CCSpriteFrameCache() {
    removeSpriteFrames();
}

bool CCSpriteFrameCache::readPlist(const char* plist, std::string* fullPath, CCPlistValue* root) {
    if (!plist || !*plist)
        return false;
    *fullPath = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
    std::vector<unsigned char> bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(*fullPath, bytes) || bytes.empty()) {
        CCLOG("sprite frames: cannot read %s", plist);
        return false;
    }
    if (!ccParsePlist(reinterpret_cast<const char*>(bytes.data()), bytes.size(), root) || !root->isDict()) {
        CCLOG("sprite frames: %s is no plist dictionary", plist);
        return false;
    }
    return true;
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist) {
    std::string fullPath;
    CCPlistValue root;
    if (!readPlist(plist, &fullPath, &root) || m_loadedFiles.count(fullPath))
        return;
    std::string textureName;
    if (const CCPlistValue* metadata = root.find("metadata")) {
        textureName = stringOf(*metadata, "textureFileName");
        if (textureName.empty())
            textureName = stringOf(*metadata, "realTextureFileName");
    }
    std::string texturePath;
    if (!textureName.empty()) {
        // The picture an atlas names must lie in the game: the atlas is skipped otherwise.
        texturePath = CCFileUtils::sharedFileUtils()->resolveNamedFile(fullPath, textureName);
        if (texturePath.empty())
            return;
    } else {
        texturePath = fullPath;
        const size_t dot = texturePath.find_last_of('.');
        if (dot != std::string::npos && texturePath.find('/', dot) == std::string::npos)
            texturePath.erase(dot);
        texturePath += ".png";
    }
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(texturePath.c_str());
    if (!texture) {
        CCLOG("sprite frames: cannot load texture %s", texturePath.c_str());
        return;
    }
    m_loadedFiles[fullPath] = addFramesFromTree(root, texture);
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist, const char* textureFileName) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(textureFileName);
    if (!texture) {
        CCLOG("sprite frames: cannot load texture %s", textureFileName ? textureFileName : "(null)");
        return;
    }
    addSpriteFramesWithFile(plist, texture);
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist, CCTexture2D* texture) {
    std::string fullPath;
    CCPlistValue root;
    if (!texture || !readPlist(plist, &fullPath, &root) || m_loadedFiles.count(fullPath))
        return;
    m_loadedFiles[fullPath] = addFramesFromTree(root, texture);
}

std::set<std::string> CCSpriteFrameCache::addFramesFromTree(const CCPlistValue& root, CCTexture2D* texture) {
    std::set<std::string> added;
    const CCPlistValue* frames = root.find("frames");
    if (!frames || !frames->isDict())
        return added;
    int format = 0;
    if (const CCPlistValue* metadata = root.find("metadata"))
        format = metadata->find("format") ? metadata->find("format")->asInt() : 0;
    if (format < 0 || format > 3) {
        CCLOG("sprite frames: unsupported format %d", format);
        return added;
    }
    for (const auto& entry : frames->dict) {
        const CCPlistValue& f = entry.second;
        if (!f.isDict())
            continue;
        CCRect rect;
        CCPoint offset;
        CCSize original;
        bool rotated = false;
        if (format == 0) {
            rect = CCRect(floatOf(f, "x"), floatOf(f, "y"), floatOf(f, "width"), floatOf(f, "height"));
            offset = CCPoint(floatOf(f, "offsetX"), floatOf(f, "offsetY"));
            original =
                CCSize(std::fabs(floatOf(f, "originalWidth")), std::fabs(floatOf(f, "originalHeight")));
        } else if (format == 1 || format == 2) {
            rect = CCRectFromString(stringOf(f, "frame").c_str());
            rotated = format == 2 && boolOf(f, "rotated");
            offset = CCPointFromString(stringOf(f, "offset").c_str());
            original = CCSizeFromString(stringOf(f, "sourceSize").c_str());
        } else {
            const CCSize size = CCSizeFromString(stringOf(f, "spriteSize").c_str());
            const CCRect textureRect = CCRectFromString(stringOf(f, "textureRect").c_str());
            rect = CCRect(textureRect.origin.x, textureRect.origin.y, size.width, size.height);
            offset = CCPointFromString(stringOf(f, "spriteOffset").c_str());
            original = CCSizeFromString(stringOf(f, "spriteSourceSize").c_str());
            rotated = boolOf(f, "textureRotated");
            if (const CCPlistValue* aliases = f.find("aliases"))
                for (const CCPlistValue& alias : aliases->array)
                    if (!alias.asString().empty())
                        m_aliases[alias.asString()] = entry.first;
        }
        if (!saneRect(rect) || !sane(offset.x) || !sane(offset.y) || !sane(original.width) ||
            !sane(original.height))
            continue;
        // Untrimmed frames may omit the source size.
        if (original.width <= 0 || original.height <= 0)
            original = rect.size;
        CCSpriteFrame* frame = new CCSpriteFrame();
        frame->initWithTexture(texture, rect, rotated, offset, original);
        addSpriteFrame(frame, entry.first.c_str());
        frame->release();
        added.insert(entry.first);
    }
    return added;
}

void CCSpriteFrameCache::addSpriteFrame(CCSpriteFrame* frame, const char* frameName) {
    if (!frame || !frameName)
        return;
    frame->retain();
    auto it = m_frames.find(frameName);
    if (it != m_frames.end()) {
        it->second->release();
        it->second = frame;
    } else {
        m_frames[frameName] = frame;
    }
}

CCSpriteFrame* CCSpriteFrameCache::spriteFrameByName(const char* name) {
    if (!name)
        return nullptr;
    auto it = m_frames.find(name);
    if (it != m_frames.end())
        return it->second;
    auto alias = m_aliases.find(name);
    if (alias != m_aliases.end()) {
        it = m_frames.find(alias->second);
        if (it != m_frames.end())
            return it->second;
    }
    return nullptr;
}

void CCSpriteFrameCache::removeSpriteFrames() {
    for (auto& entry : m_frames)
        entry.second->release();
    m_frames.clear();
    m_aliases.clear();
    m_loadedFiles.clear();
}

void CCSpriteFrameCache::removeUnusedSpriteFrames() {
    for (auto it = m_frames.begin(); it != m_frames.end();) {
        if (it->second->retainCount() == 1) {
            it->second->release();
            it = m_frames.erase(it);
        } else {
            ++it;
        }
    }
    // Files whose frames are gone may be loaded again.
    for (auto file = m_loadedFiles.begin(); file != m_loadedFiles.end();) {
        bool anyLeft = false;
        for (const std::string& name : file->second)
            anyLeft = anyLeft || m_frames.count(name) > 0;
        file = anyLeft ? std::next(file) : m_loadedFiles.erase(file);
    }
}

void CCSpriteFrameCache::removeSpriteFrameByName(const char* name) {
    if (!name)
        return;
    std::string key = name;
    auto alias = m_aliases.find(key);
    if (alias != m_aliases.end()) {
        key = alias->second;
        m_aliases.erase(alias);
    }
    auto it = m_frames.find(key);
    if (it != m_frames.end()) {
        it->second->release();
        m_frames.erase(it);
    }
}

void CCSpriteFrameCache::removeSpriteFramesFromFile(const char* plist) {
    if (!plist)
        return;
    auto file = m_loadedFiles.find(CCFileUtils::sharedFileUtils()->fullPathForFilename(plist));
    if (file == m_loadedFiles.end())
        return;
    for (const std::string& name : file->second)
        removeSpriteFrameByName(name.c_str());
    m_loadedFiles.erase(file);
}

} // namespace cocos2d
