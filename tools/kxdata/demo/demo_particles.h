// Particle emitters the games share: additive sparks that rise and fade.
#pragma once

#include <memory>
#include <string>

#include "cocos2d.h"
#include "tools/kxdata/demo/demo_game.h"

class KXModelObjectParticlesEmitter;

namespace kxdata {
namespace demo {

// An emitter of `spark` pictures drawn additively, rising (angle 90, `angleSpread` either way) in
// the level's frame and fading from `colour` to clear; the caller sets its counts, life, speed and
// sizes.
std::shared_ptr<KXModelObjectParticlesEmitter>
risingEmitter(DemoGame& game, const std::string& name, const std::shared_ptr<KXModelSpriteContainer>& spark,
              cocos2d::ccColor4F colour, float angleSpread);

} // namespace demo
} // namespace kxdata
