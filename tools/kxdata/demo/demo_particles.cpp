#include "tools/kxdata/demo/demo_particles.h"

#include "model/attributes/KXAttributeGradient.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/demo/demo_attributes.h"

namespace kxdata {
namespace demo {

std::shared_ptr<KXModelObjectParticlesEmitter>
risingEmitter(DemoGame& game, const std::string& name, const std::shared_ptr<KXModelSpriteContainer>& spark,
              cocos2d::ccColor4F colour, float angleSpread) {
    auto emitter = game.make<KXModelObjectParticlesEmitter>("KXModelObjectParticlesEmitter", name);
    setValue<KXAttributeSprite>(*emitter, "Texture", spark);
    setFloat(*emitter, "Angle", 90.0f, angleSpread);
    setBool(*emitter, "Blend Additive", true);
    // The sparks drift with the level, not with the screen.
    setValue<KXAttributeString>(*emitter, "Position Type", std::string("kCCPositionTypeRelative"));
    auto* colours = dynamic_cast<KXAttributeGradient*>(emitter->attribute("Color"));
    colours->setColor(0.0f, colour, true);
    colours->setColor(1.0f, cocos2d::ccc4f(colour.r, colour.g, colour.b, 0.0f), true);
    return emitter;
}

} // namespace demo
} // namespace kxdata
