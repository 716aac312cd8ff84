// Textures loaded from image files, keyed by the resolved full path of the file.
#pragma once

#include <map>
#include <string>

#include "base/CCObject.h"

namespace cocos2d {

class CCTexture2D;

class CCTextureCache : public CCObject {
public:
    static CCTextureCache* sharedTextureCache();
    static void purgeSharedTextureCache();

    ~CCTextureCache() override;

    // The cached texture, or the file loaded and cached; null when it cannot be read or
    // decoded. A cached texture is returned without touching the file system again.
    CCTexture2D* addImage(const char* path);
    // Caches an already-made texture under key (its full path form).
    void addTexture(CCTexture2D* texture, const char* key);
    CCTexture2D* textureForKey(const char* key);
    void removeTexture(CCTexture2D* texture);
    void removeTextureForKey(const char* key);
    // Drops the textures nobody else holds.
    void removeUnusedTextures();
    void removeAllTextures();
    size_t count() const { return m_textures.size(); }

private:
    CCTextureCache() = default;
    // Resolved path: lookups memoise it, so a cached name never reaches the file system.
    std::string keyFor(const char* path);

    std::map<std::string, CCTexture2D*> m_textures;
    std::map<std::string, std::string> m_resolvedNames;
};

} // namespace cocos2d
