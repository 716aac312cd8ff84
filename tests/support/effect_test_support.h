// Models for the particle and animation suites: a working folder whose "data/images" holds
// solid-colour pictures named after the sprite models (so that sprite textures load the way the
// player loads them, and images find their frames in the frame cache), and emitter models set up
// attribute by attribute.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "cocos2d.h"
#include "model/attributes/KXAttributeGradient.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeSprite.h"
#include "support/render_test_support.h"
#include "support/temp_folder.h"

namespace kxtest {

// Enters a fresh folder for its life; the models' media paths ("data/...") resolve there.
class MediaFolder {
public:
    MediaFolder() {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) != nullptr) {
            m_previous = cwd;
        }
        ::mkdir((m_folder.path() + "/data").c_str(), 0755);
        ::mkdir((m_folder.path() + "/data/images").c_str(), 0755);
        m_entered = ::chdir(m_folder.path().c_str()) == 0;
    }
    ~MediaFolder() {
        cocos2d::CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        if (!m_previous.empty()) {
            EXPECT_EQ(::chdir(m_previous.c_str()), 0);
        }
    }
    MediaFolder(const MediaFolder&) = delete;
    MediaFolder& operator=(const MediaFolder&) = delete;

    bool entered() const { return m_entered; }

    // A container of one sprite whose picture is a width x height rectangle of that colour, with
    // its frame in the frame cache.
    std::shared_ptr<KXModelSpriteContainer> solidPicture(int width, int height, Rgba colour) {
        auto container = createModel<KXModelSpriteContainer>();
        auto sprite = createModel<KXModelSprite>();
        container->addChild(sprite, true);
        const cocos2d::CCSize size(static_cast<float>(width), static_cast<float>(height));
        sprite->sizeAttribute()->setValue(size, true);
        sprite->sourceSizeAttribute()->setValue(size, true);
        EXPECT_TRUE(PixelImage(width, height, colour).savePng(sprite->imagePath()));
        if (cocos2d::CCTexture2D* texture = sprite->texture()) {
            cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFrame(
                cocos2d::CCSpriteFrame::createWithTexture(texture,
                                                          cocos2d::CCRect(0, 0, size.width, size.height)),
                sprite->spriteFrameName().c_str());
        }
        return container;
    }

private:
    TempFolder m_folder;
    std::string m_previous;
    bool m_entered = false;
};

// The named attribute of that class (a failure and null when there is none).
template <class Attribute> Attribute* attributeOf(KXModel& model, const char* name) {
    Attribute* attribute = dynamic_cast<Attribute*>(model.attribute(name));
    if (attribute == nullptr) {
        ADD_FAILURE() << "no attribute " << name;
    }
    return attribute;
}

inline void setFloat(KXModel& model, const char* name, float value, float variance = 0.0f) {
    if (auto* attribute = attributeOf<KXAttributeFloat>(model, name)) {
        attribute->setValue(value, true);
        attribute->setVariableValue(variance);
    }
}

// An emitter that keeps every particle in place: no speed, no spread, a long life and a square
// of `size` points in one colour from birth to death.
inline std::shared_ptr<KXModelObjectParticlesEmitter>
stillEmitter(const std::shared_ptr<KXModelSpriteContainer>& texture, float rate, float life, float size,
             const cocos2d::ccColor4F& colour) {
    auto emitter = createModel<KXModelObjectParticlesEmitter>();
    if (auto* picture = attributeOf<KXAttributeSprite>(*emitter, "Texture")) {
        picture->setValue(texture, true);
    }
    setFloat(*emitter, "Total Particles", 500.0f);
    setFloat(*emitter, "Emission Rate", rate);
    setFloat(*emitter, "Life", life);
    setFloat(*emitter, "Speed", 0.0f);
    setFloat(*emitter, "Angle", 0.0f);
    setFloat(*emitter, "Start Size", size);
    setFloat(*emitter, "End Size", size);
    if (auto* colours = attributeOf<KXAttributeGradient>(*emitter, "Color")) {
        colours->setColor(0.0f, colour, true);
        colours->setColor(1.0f, colour, true);
    }
    return emitter;
}

inline std::shared_ptr<KXModelObjectParticles>
particlesWith(std::initializer_list<std::shared_ptr<KXModelObjectParticlesEmitter>> emitters) {
    auto particles = createModel<KXModelObjectParticles>();
    for (const auto& emitter : emitters) {
        particles->addChild(emitter, true);
    }
    return particles;
}

} // namespace kxtest
