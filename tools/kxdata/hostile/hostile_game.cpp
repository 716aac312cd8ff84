#include "tools/kxdata/hostile/hostile_game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXBaseModelGeneralSettings.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectAsset.h"
#include "tools/kxdata/demo/demo_canvas.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/effects/effects_media.h"
#include "tools/kxdata/hostile/hostile_edges.h"
#include "tools/kxdata/hostile/hostile_runaway.h"

namespace kxdata {
namespace hostile {

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
constexpr float kHuge = 1e30f;

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool isTiming(const std::string& name) {
    for (const char* part : {"Duration", "Delay", "Timeout", "Time", "Speed", "Velocity", "Interval", "Rate",
                             "Frequency", "Distance", "Period", "Length"}) {
        if (contains(name, part)) {
            return true;
        }
    }
    return false;
}

bool isPlace(const std::string& name) {
    for (const char* part : {"Position", "Velocity", "Offset", "Anchor", "Gravity", "Point"}) {
        if (contains(name, part)) {
            return true;
        }
    }
    return false;
}

// A stored kind text ("kButton", "kNoWakeup"): a lower-case k and a capital.
bool isKindText(const std::string& value) {
    return value.size() > 1 && value[0] == 'k' && value[1] >= 'A' && value[1] <= 'Z';
}

// Two of three values of each family are damaged, each family cycling through its bad values, so
// the game keeps some sound values to run on and every bad value meets many readers.
class Damager {
public:
    size_t damaged() const { return m_damaged; }

    void attribute(KXBaseAttribute* attribute) {
        const std::string& name = attribute->name();
        if (auto* number = dynamic_cast<KXAttributeFloat*>(attribute)) {
            if (name == "Interval") {
                number->setValue(0.5f, true);
                ++m_damaged;
            } else if (contains(name, "Scale")) {
                pick(m_scales, {0.0f, -1.5f}, [&](float v) { number->setValue(v, true); });
            } else if (isTiming(name)) {
                pick(m_timings, {kNaN, kHuge, -kHuge, kInf}, [&](float v) { number->setValue(v, true); });
            }
        } else if (auto* point = dynamic_cast<KXBaseAttributePoint*>(attribute)) {
            if (contains(name, "Scale")) {
                pick(m_scalePoints, {0.0f, -2.0f},
                     [&](float v) { point->setValue(cocos2d::CCPoint(v, -v), true); });
            } else if (isPlace(name)) {
                pick(m_places, {kNaN, kHuge, -kHuge},
                     [&](float v) { point->setValue(cocos2d::CCPoint(v, -v), true); });
            }
        } else if (auto* edge = dynamic_cast<KXAttributeFrameEdgeState*>(attribute)) {
            pick(m_numbers, {99.0f, -7.0f},
                 [&](float v) { edge->setValue(static_cast<KXObjectFrameEdgeState>(v), true); });
        } else if (auto* turn =
                       dynamic_cast<KXBaseModelGeneralSettings::KXAttributeOrientation*>(attribute)) {
            turn->setValue(static_cast<KXBaseModelGeneralSettings::Orientation>(99), true);
            ++m_damaged;
        } else if (auto* fit =
                       dynamic_cast<KXBaseModelGeneralSettings::KXAttributeScreenAdjustment*>(attribute)) {
            fit->setValue(static_cast<KXBaseModelGeneralSettings::ScreenAdjustment>(-7), true);
            ++m_damaged;
        } else if (auto* text = dynamic_cast<KXAttributeString*>(attribute)) {
            if (isKindText(text->value())) {
                pick(m_kinds, {0.0f}, [&](float) { text->setValue("kNoSuchKind", true); });
            }
        }
    }

private:
    template <class Set> void pick(size_t& counter, std::initializer_list<float> values, Set set) {
        const size_t turn = counter++;
        if (turn % 3 == 2) {
            return;
        }
        set(*(values.begin() + (turn / 3) % values.size()));
        ++m_damaged;
    }

    size_t m_damaged = 0;
    size_t m_scales = 0;
    size_t m_timings = 0;
    size_t m_scalePoints = 0;
    size_t m_places = 0;
    size_t m_kinds = 0;
    size_t m_numbers = 0;
};

bool isMedia(const std::string& className) {
    return className == "KXModelPolygon" || className == "KXModelCircle" || className == "KXModelAnimation" ||
           className == "KXModelFont" || className == "KXModelSound";
}

// Every other shape, animation and sound, and the font, leave the game: references to them
// point at ids no file holds. The hero keeps its shape, so that it plays on the damaged field.
void dropMedia(ModelList& models) {
    ModelList kept;
    size_t seen = 0;
    for (const auto& model : models) {
        const std::string className = model->className();
        if (isMedia(className) && model->name() != "Hero Shape" &&
            (className == "KXModelFont" || seen++ % 2 == 0)) {
            continue;
        }
        kept.push_back(model);
    }
    models.swap(kept);
}

// Placed units expect an obstacle asset exactly: two get a character's and a powerup's asset,
// both related classes of it.
void swapAssets(const ModelList& models) {
    std::vector<std::shared_ptr<KXModelAsset>> related;
    for (const auto& model : models) {
        const std::string className = model->className();
        if (className == "KXModelAssetCharacter" || className == "KXModelAssetPowerup") {
            related.push_back(std::static_pointer_cast<KXModelAsset>(model));
            if (related.size() == 2) {
                break;
            }
        }
    }
    for (const auto& model : models) {
        if (related.empty()) {
            return;
        }
        if (std::string(model->className()) == "KXModelObjectAssetUnit") {
            std::static_pointer_cast<KXModelObjectAsset>(model)->setAsset(related.back(), true);
            related.pop_back();
        }
    }
}

// Every other sound file, every effect texture but the first, the font's files and the game's
// shaders (the mirrors draw without their reflection shader).
void deleteMediaFiles(const std::string& dir) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::remove_all(dir + "/data/shaders", error);
    for (const char* folder : {"/data/sounds", "/data/effects", "/data/fonts"}) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir + folder, error)) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (size_t i = 0; i < files.size(); ++i) {
            if (std::string(folder) == "/data/fonts" || i % 2 == 1) {
                fs::remove(files[i], error);
            }
        }
    }
}

} // namespace

size_t damageModels(ModelList& models) {
    swapAssets(models);
    Damager damager;
    for (const auto& model : models) {
        for (KXBaseAttribute* attribute : model->attributes()) {
            damager.attribute(attribute);
        }
    }
    dropMedia(models);
    return damager.damaged();
}

size_t writeHostileDemo(const std::string& dir) {
    demo::DemoGame game = demo::buildDemoGame();
    const RunawayValues sound = readRunawayValues(game);
    const size_t damaged = damageModels(game.models);
    // The damaged game speed and hero place go to the runaway field: the demo's scene plays.
    const RunawayValues runaway = readRunawayValues(game);
    writeRunawayValues(game, sound);
    // The hall of edges is made after the damage, which would blur its exact values.
    const demo::DemoGame hall = buildEdgeHall(game.font, runaway);
    game.models.insert(game.models.end(), hall.models.begin(), hall.models.end());
    demo::recordLastId(game);
    size_t failed = demo::writeGameFiles(dir, game);
    failed += demo::writeDemoMedia(dir, hall);
    failed += effects::writeEffectMedia(dir);
    deleteMediaFiles(dir);
    std::printf("damaged values %zu\n", damaged);
    return failed;
}

} // namespace hostile
} // namespace kxdata
