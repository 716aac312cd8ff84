#include "tools/kxdata/sample_media.h"

#include <algorithm>
#include <vector>

#include "cocos2d.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeShape.h"
#include "tools/kxdata/KXSampleGame.h"
#include "tools/kxdata/sample_media_writers.h"

namespace kxdata {

namespace {

constexpr float kAnimatedSpeed = 1.5f;
constexpr int kStillSize = 32;
constexpr int kFrameWidth = 48;
constexpr int kFrameHeight = 64;
constexpr float kSheetSize = 256.0f;
constexpr float kSheetPadding = 4.0f;

template <class T> std::vector<std::shared_ptr<T>> modelsOf(const ModelList& models) {
    std::vector<std::shared_ptr<T>> found;
    for (const std::shared_ptr<KXModel>& model : models) {
        if (std::shared_ptr<T> typed = modelCast<T>(model)) {
            found.push_back(typed);
        }
    }
    return found;
}

// A sprite's place in its first container, and whether that container shows a still image.
struct SpriteRole {
    int frame = 0;
    bool still = true;
};

SpriteRole roleOf(const KXModelSprite& sprite) {
    SpriteRole role;
    for (const std::shared_ptr<KXModel>& parent : sprite.getParents()) {
        if (auto container = modelCast<KXModelSpriteContainer>(parent)) {
            const auto& sprites = container->sprites();
            auto found = std::find(sprites.begin(), sprites.end(), sprite.sharedFromThis());
            role.frame = static_cast<int>(found - sprites.begin());
            role.still = sprites.size() < 2;
            return role;
        }
    }
    return role;
}

SpriteLook lookOf(const KXModelSprite& sprite) {
    SpriteLook look;
    const cocos2d::CCSize& size = sprite.size();
    look.width = size.width >= 1.0f ? static_cast<int>(size.width) : kStillSize;
    look.height = size.height >= 1.0f ? static_cast<int>(size.height) : kStillSize;
    look.variant = roleOf(sprite).frame;
    return look;
}

// Sizes a sprite that the part of the sample which made it left unsized.
void setSizeIfUnset(KXModelSprite& sprite, float width, float height) {
    if (sprite.size().width >= 1.0f && sprite.size().height >= 1.0f) {
        return;
    }
    sprite.sizeAttribute()->setValue(cocos2d::CCSize(width, height), true);
    sprite.sourceSizeAttribute()->setValue(cocos2d::CCSize(width, height), true);
    sprite.sourceRectAttribute()->setValue(cocos2d::CCRect(0.0f, 0.0f, width, height), true);
}

bool exists(const std::string& path) {
    return cocos2d::CCFileUtils::sharedFileUtils()->isFileExist(path);
}

struct MediaStatus {
    bool present = true;
    std::vector<std::string> paths;

    void require(const std::string& path) {
        paths.push_back(path);
        present = present && exists(path);
    }
};

MediaStatus statusOf(const std::shared_ptr<KXModel>& model) {
    MediaStatus status;
    if (auto sprite = modelCast<KXModelSprite>(model)) {
        // Either image serves; the effect image wins when both are there.
        status.paths.push_back(sprite->imagePath());
        if (exists(sprite->effectPath())) {
            status.paths.push_back(sprite->effectPath());
        } else {
            status.present = exists(sprite->imagePath());
        }
    } else if (auto sound = modelCast<KXModelSound>(model)) {
        status.require(sound->soundPath());
    } else if (auto atlas = modelCast<KXModelAtlas>(model)) {
        status.require(atlas->imagePath());
        status.require(atlas->plistPath());
    } else if (auto font = modelCast<KXModelFont>(model)) {
        status.require(font->fontFile());
        cocos2d::CCBMFontConfiguration* description =
            status.present ? cocos2d::CCBMFontConfiguration::create(font->fontFile().c_str()) : nullptr;
        if (description == nullptr) {
            status.present = false;
        } else {
            for (const auto& page : description->pagePaths()) {
                status.require(page.second);
            }
        }
    }
    return status;
}

bool isMediaModel(const std::shared_ptr<KXModel>& model) {
    return modelCast<KXModelSprite>(model) || modelCast<KXModelSound>(model) ||
           modelCast<KXModelAtlas>(model) || modelCast<KXModelFont>(model);
}

// Shapes still without points: polygons become boxes of a size that grows with their place
// in the game, circles the default circle. An asset without a collision shape takes the
// first shape among its children.
void addSampleShapes(SampleGame& game) {
    float side = 40.0f;
    for (const auto& polygon : modelsOf<KXModelPolygon>(game.models)) {
        if (!polygon->isEmpty()) {
            continue;
        }
        polygon->setBox(cocos2d::CCSize(side, side * 0.75f), cocos2d::CCPoint(0.0f, 0.0f), true);
        polygon->setOneWayCollisionVector(cocos2d::CCPoint(0.0f, 1.0f), true);
        side += 20.0f;
    }
    for (const auto& circle : modelsOf<KXModelCircle>(game.models)) {
        circle->insertPoint(0, cocos2d::CCPoint(0.0f, 0.0f), true);
    }
    for (const std::shared_ptr<KXModel>& model : game.models) {
        auto asset = modelKindCast<KXModelAsset>(model);
        if (!asset || asset->collisionShapeAttribute() == nullptr || asset->collisionShape()) {
            continue;
        }
        for (const std::shared_ptr<KXModel>& child : asset->children()) {
            if (auto shape = modelKindCast<KXModelPolygon>(child)) {
                asset->collisionShapeAttribute()->setValue(shape, true);
                break;
            }
        }
    }
}

} // namespace

void addSampleMedia(SampleGame& game) {
    addSampleShapes(game);
    for (const auto& container : modelsOf<KXModelSpriteContainer>(game.models)) {
        const bool animated = container->sprites().size() > 1;
        const float extent = static_cast<float>(kStillSize);
        for (const std::shared_ptr<KXModel>& child : container->sprites()) {
            auto& sprite = static_cast<KXModelSprite&>(*child);
            if (animated) {
                setSizeIfUnset(sprite, static_cast<float>(kFrameWidth), static_cast<float>(kFrameHeight));
            } else {
                setSizeIfUnset(sprite, extent, extent);
            }
        }
        if (animated && container->durationAttribute()->value() == 0.0f) {
            const float frames = static_cast<float>(container->sprites().size());
            container->animationSpeedAttribute()->setValue(kAnimatedSpeed, true);
            container->durationAttribute()->setValue(
                frames / KXBaseModelSpriteContainer::kFramesPerSecond / kAnimatedSpeed, true);
        }
    }
    // Every sprite goes into every atlas, so that each has a frame in the frame cache.
    const auto sprites = modelsOf<KXModelSprite>(game.models);
    float area = 0.0f;
    for (const auto& sprite : sprites) {
        setSizeIfUnset(*sprite, static_cast<float>(kStillSize), static_cast<float>(kStillSize));
        area += (sprite->size().width + kSheetPadding) * (sprite->size().height + kSheetPadding);
    }
    float sheet = kSheetSize;
    while (sheet < KXBaseModelAtlas::kMaximumExtent && area * 2.0f > sheet * sheet) {
        sheet *= 2.0f;
    }
    for (const auto& atlas : modelsOf<KXModelAtlas>(game.models)) {
        atlas->widthAttribute()->setValue(sheet, true);
        atlas->heightAttribute()->setValue(sheet, true);
        atlas->paddingAttribute()->setValue(kSheetPadding, true);
        for (const auto& sprite : sprites) {
            atlas->addChild(sprite, true);
        }
    }
}

size_t writeSampleMedia(const std::string& dir, const ModelList& models) {
    for (const char* folder :
         {"/data", "/data/images", "/data/effects", "/data/sounds", "/data/fonts", "/data/atlases"}) {
        makeFolder(dir + folder);
    }
    const std::string root = dir + "/";
    size_t written = 0;
    size_t failed = 0;
    auto count = [&](bool ok, size_t files) {
        if (ok) {
            written += files;
        } else {
            ++failed;
        }
    };

    for (const auto& sprite : modelsOf<KXModelSprite>(models)) {
        SpriteLook look = lookOf(*sprite);
        count(writeSpritePng(root + sprite->imagePath(), look), 1);
        if (roleOf(*sprite).still) {
            look.glow = true;
            count(writeSpritePng(root + sprite->effectPath(), look), 1);
        }
    }
    for (const auto& atlas : modelsOf<KXModelAtlas>(models)) {
        std::vector<AtlasFrame> frames;
        for (const std::shared_ptr<KXModel>& child : atlas->sprites()) {
            const auto& sprite = static_cast<const KXModelSprite&>(*child);
            frames.push_back({sprite.spriteFrameName(), lookOf(sprite)});
        }
        const int width = static_cast<int>(atlas->widthAttribute()->value());
        const int height = static_cast<int>(atlas->heightAttribute()->value());
        const int padding = std::max(0, static_cast<int>(atlas->paddingAttribute()->value()));
        count(
            writeAtlas(root + atlas->imagePath(), root + atlas->plistPath(), frames, width, height, padding),
            2);
    }
    int fontIndex = 0;
    for (const auto& font : modelsOf<KXModelFont>(models)) {
        const std::string page = "KXModelFont_ID" + std::to_string(static_cast<int32_t>(font->id())) + ".png";
        count(writeBitmapFont(root + font->fontFile(), page, 1 + fontIndex++ % 3), 2);
    }
    int soundIndex = 0;
    for (const auto& sound : modelsOf<KXModelSound>(models)) {
        const bool music = sound->name().find("Music") != std::string::npos;
        count(writeToneMp3(root + sound->soundPath(), 440 + 110 * soundIndex++, music ? 2.0 : 0.3), 1);
    }
    std::printf("media files %zu\n", written);
    return failed;
}

void reportMediaFiles(const ModelList& models, std::FILE* out) {
    size_t present = 0;
    size_t missing = 0;
    for (const std::shared_ptr<KXModel>& model : models) {
        if (!isMediaModel(model)) {
            continue;
        }
        const MediaStatus status = statusOf(model);
        status.present ? ++present : ++missing;
        std::fprintf(out, "media %s %d %s", model->className(), static_cast<int32_t>(model->id()),
                     status.present ? "present" : "missing");
        for (const std::string& path : status.paths) {
            std::fprintf(out, " %s", path.c_str());
        }
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "media present %zu missing %zu\n", present, missing);
}

} // namespace kxdata
