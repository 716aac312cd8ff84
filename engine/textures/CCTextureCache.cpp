#include "textures/CCTextureCache.h"

#include <vector>

#include "platform/CCFileUtils.h"
#include "textures/CCTexture2D.h"

namespace cocos2d {

namespace {
CCTextureCache* g_sharedTextureCache = nullptr;
}

CCTextureCache* CCTextureCache::sharedTextureCache() {
    if (!g_sharedTextureCache)
        g_sharedTextureCache = new CCTextureCache();
    return g_sharedTextureCache;
}

void CCTextureCache::purgeSharedTextureCache() {
    CC_SAFE_RELEASE_NULL(g_sharedTextureCache);
}

CCTextureCache::~CCTextureCache() {
    removeAllTextures();
}

std::string CCTextureCache::keyFor(const char* path) {
    auto known = m_resolvedNames.find(path);
    if (known != m_resolvedNames.end())
        return known->second;
    std::string key = CCFileUtils::sharedFileUtils()->fullPathForFilename(path);
    // Only remember names that led to a texture, so the memo stays as small as the cache.
    if (m_textures.count(key))
        m_resolvedNames[path] = key;
    return key;
}

CCTexture2D* CCTextureCache::addImage(const char* path) {
    if (!path || !*path)
        return nullptr;
    const std::string key = keyFor(path);
    auto it = m_textures.find(key);
    if (it != m_textures.end())
        return it->second;
    std::vector<unsigned char> bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(key, bytes) || bytes.empty())
        return nullptr;
    CCTexture2D* texture = new CCTexture2D();
    if (!texture->initWithImageData(bytes.data(), bytes.size(), key.c_str())) {
        texture->release();
        return nullptr;
    }
    m_textures[key] = texture;
    m_resolvedNames[path] = key;
    return texture;
}

void CCTextureCache::addTexture(CCTexture2D* texture, const char* key) {
    if (!texture || !key)
        return;
    const std::string full = CCFileUtils::sharedFileUtils()->fullPathForFilename(key);
    texture->retain();
    auto it = m_textures.find(full);
    if (it != m_textures.end()) {
        it->second->release();
        it->second = texture;
    } else {
        m_textures[full] = texture;
    }
    m_resolvedNames[key] = full;
}

CCTexture2D* CCTextureCache::textureForKey(const char* key) {
    if (!key)
        return nullptr;
    auto it = m_textures.find(keyFor(key));
    return it == m_textures.end() ? nullptr : it->second;
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
    if (!texture)
        return;
    for (auto it = m_textures.begin(); it != m_textures.end();) {
        if (it->second == texture) {
            for (auto name = m_resolvedNames.begin(); name != m_resolvedNames.end();)
                name = name->second == it->first ? m_resolvedNames.erase(name) : std::next(name);
            it->second->release();
            it = m_textures.erase(it);
        } else {
            ++it;
        }
    }
}

void CCTextureCache::removeTextureForKey(const char* key) {
    if (CCTexture2D* texture = textureForKey(key))
        removeTexture(texture);
}

void CCTextureCache::removeUnusedTextures() {
    std::vector<CCTexture2D*> unused;
    for (auto& entry : m_textures)
        if (entry.second->retainCount() == 1)
            unused.push_back(entry.second);
    for (CCTexture2D* texture : unused)
        removeTexture(texture);
}

void CCTextureCache::removeAllTextures() {
    for (auto& entry : m_textures)
        entry.second->release();
    m_textures.clear();
    m_resolvedNames.clear();
}

} // namespace cocos2d
