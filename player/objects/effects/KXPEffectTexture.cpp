#include "player/objects/effects/KXPEffectTexture.h"

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelSpriteContainer.h"

#include <string>

using namespace cocos2d;

CCTexture2D* retainEffectTexture(const std::shared_ptr<KXModelSpriteContainer>& own, const char* mapFile,
                                 const char* owner, const char* what) {
    CCTexture2D* texture = own ? own->textureAt(0) : nullptr;
    if (texture == nullptr) {
        const std::string path = KXModelController::shared()->dataDirectory() + mapFile;
        texture = CCTextureCache::sharedTextureCache()->addImage(path.c_str());
        if (texture == nullptr) {
            debugLog("[%s] no texture and no \"%s\": the %s is not drawn", owner, path.c_str(), what);
            return nullptr;
        }
    }
    texture->retain();
    return texture;
}
