#pragma once

// The picture an effect (light, trail, flag) draws with: the model's own texture when it has one,
// else the map games ship in their data folder.

#include <memory>

class KXModelSpriteContainer;
namespace cocos2d {
class CCTexture2D;
}

// Retained for the caller, who releases it. Null, after one log line naming `owner` and `what` it
// draws, when neither the model's texture nor "<data folder><mapFile>" can be had.
cocos2d::CCTexture2D* retainEffectTexture(const std::shared_ptr<KXModelSpriteContainer>& own,
                                          const char* mapFile, const char* owner, const char* what);
