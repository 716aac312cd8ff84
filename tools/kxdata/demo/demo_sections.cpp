#include "tools/kxdata/demo/demo_sections.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeGradient.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/demo/demo_attributes.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/demo/demo_particles.h"

using cocos2d::CCPoint;

namespace kxdata {
namespace demo {

namespace {

// The frame edge behind the runner.
constexpr unsigned int kLeftEdge = 3;
// Every section is one design width long; its floor reaches a little into its neighbours.
constexpr float kSectionWidth = kWidth;

// A soft round glow for the particles.
Canvas sparkCanvas() {
    Canvas canvas(16, 16);
    for (float radius = 8.0f; radius > 0.5f; radius -= 1.0f) {
        const auto alpha = static_cast<uint8_t>(255.0f * (1.0f - radius / 8.0f) * 0.6f + 40.0f);
        canvas.disc(8.0f, 8.0f, radius, Colour{255, 255, 255, alpha});
    }
    return canvas;
}

// An obstacle the meadow made.
std::shared_ptr<KXModelAssetObstacle> meadowAsset(const DemoGame& game, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto asset = modelCast<KXModelAssetObstacle>(model)) {
            if (asset->name() == name) {
                return asset;
            }
        }
    }
    throw std::runtime_error("the demo has no obstacle named " + name);
}

std::shared_ptr<KXModelLevelSection> section(DemoGame& game, KXModelScreen& scene, const std::string& name) {
    auto made = game.make<KXModelLevelSection>("KXModelLevelSection", name);
    made->startDistanceAttribute()->setValue(0.0f, true);
    made->endDistanceAttribute()->setValue(-1.0f, true);
    made->widthAttribute()->setValue(kSectionWidth, true);
    // Never the same section twice in a row.
    made->playCooldownAttribute()->setValue(1.0f, true);
    scene.addChild(made, true);
    return made;
}

std::shared_ptr<KXModelObjectAssetUnit> place(DemoGame& game, KXModelLevelSection& into,
                                              const std::string& asset, const std::string& kind,
                                              CCPoint position, int depth,
                                              CCPoint scale = CCPoint(1.0f, 1.0f)) {
    auto placed = game.make<KXModelObjectAssetUnit>("KXModelObjectAssetUnit", into.name() + " " + asset);
    placed->setAsset(meadowAsset(game, asset));
    placed->setObjectType(kind);
    placed->positionAttribute()->setValue(position, true);
    placed->scaleAttribute()->setValue(scale, true);
    placed->zDepthAttribute()->setValue(depth, true);
    into.addChild(placed, true);
    return placed;
}

// The meadow's stone floor, as wide as the section and a little into its neighbours.
void placeFloor(DemoGame& game, KXModelLevelSection& into) {
    place(game, into, "Stone Floor", "kPlatformObjectType", CCPoint(kSectionWidth * 0.5f, 64.0f), 4,
          CCPoint(9.5f, 1.0f));
}

void floorAndHills(DemoGame& game, KXModelLevelSection& into) {
    place(game, into, "Hills", "kDecorationObjectType", CCPoint(kSectionWidth * 0.5f, 150.0f), 3,
          CCPoint(4.5f, 2.5f));
    placeFloor(game, into);
}

// A cloud of glowing motes drifting up from `position`, in `colour` fading out.
void addGlow(DemoGame& game, KXModelLevelSection& into, const std::string& name,
             const std::shared_ptr<KXModelSpriteContainer>& spark, CCPoint position,
             cocos2d::ccColor4F colour, float spread) {
    auto particles = game.make<KXModelObjectParticles>("KXModelObjectParticles", name);
    particles->positionAttribute()->setValue(position, true);
    particles->zDepthAttribute()->setValue(6, true);
    auto emitter = risingEmitter(game, name + " Motes", spark, colour, spread);
    setFloat(*emitter, "Total Particles", 80.0f);
    setFloat(*emitter, "Emission Rate", 20.0f);
    setFloat(*emitter, "Life", 3.0f, 1.0f);
    setFloat(*emitter, "Speed", 30.0f, 15.0f);
    setFloat(*emitter, "Start Size", 14.0f, 4.0f);
    setFloat(*emitter, "End Size", 6.0f, 2.0f);
    particles->addChild(emitter, true);
    into.addChild(particles, true);
}

} // namespace

void addDemoSections(DemoGame& game, KXModelScreen& scene) {
    if (auto* field = dynamic_cast<KXModelScreenScene*>(&scene)) {
        // An endless runner: the camera moves on by itself.
        field->gameSpeedMinAttribute()->setValue(kDemoScrollSpeed, true);
        field->gameSpeedMaxAttribute()->setValue(kDemoScrollSpeed, true);
        // The left edge pushes a runner along instead of pulling the camera back to it.
        field->objectFrameStateAttribute(kLeftEdge)->setValue(KXObjectFrameEdgePushBack, true);
    }
    const auto spark = game.effect("Spark", sparkCanvas());

    auto beach = section(game, scene, kDemoBeachSection);
    placeFloor(game, *beach);
    place(game, *beach, "Bush", "kDecorationObjectType", CCPoint(180.0f, 100.0f), 5);
    for (int index = 0; index < 3; ++index) {
        auto crab = place(game, *beach, "Crab", "kEnemyObjectType",
                          CCPoint(380.0f + 240.0f * static_cast<float>(index), 100.0f), 8);
        crab->setLinearVelocity(CCPoint(index % 2 == 0 ? 1.5f : -1.5f, 0.0f));
    }
    addGlow(game, *beach, "Sea Spray", spark, CCPoint(900.0f, 90.0f), cocos2d::ccc4f(0.7f, 0.9f, 1.0f, 0.9f),
            25.0f);

    auto hill = section(game, scene, kDemoHillSection);
    floorAndHills(game, *hill);
    place(game, *hill, "Ledge", "kPlatformObjectType", CCPoint(520.0f, 260.0f), 6);
    auto boulder = place(game, *hill, "Boulder", "kPhysicsObjectType", CCPoint(200.0f, 140.0f), 7);
    boulder->setLinearVelocity(CCPoint(3.0f, 0.0f));
    place(game, *hill, "Bush", "kDecorationObjectType", CCPoint(900.0f, 100.0f), 5, CCPoint(-1.2f, 1.2f));

    auto glade = section(game, scene, kDemoGladeSection);
    floorAndHills(game, *glade);
    place(game, *glade, "Bush", "kDecorationObjectType", CCPoint(250.0f, 100.0f), 5);
    place(game, *glade, "Bush", "kDecorationObjectType", CCPoint(760.0f, 100.0f), 5, CCPoint(1.3f, 1.3f));
    addGlow(game, *glade, "Fireflies", spark, CCPoint(500.0f, 160.0f), cocos2d::ccc4f(1.0f, 0.9f, 0.3f, 1.0f),
            70.0f);
}

} // namespace demo
} // namespace kxdata
