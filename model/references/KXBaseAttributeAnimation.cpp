#include "model/references/KXBaseAttributeAnimation.h"

#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSprite.h"
#include "model/references/KXAttributeSprite.h"
#include "model/references/KXReferencedValues.h"

namespace {

constexpr float kNewAnimationDuration = 3.0f;
constexpr float kFramesPerSecond = 30.0f;

// The frames of an animation are its scene-object children; each removal is announced.
void removeAllFrames(KXModelAnimation& animation) {
    for (const std::shared_ptr<KXModelObject>& frame : getChildrenOfKind<KXModelObject>(animation)) {
        animation.removeChild(frame, false);
    }
}

void showImage(KXModel& image, const std::shared_ptr<KXModelSpriteContainer>& container) {
    KXBaseAttribute* found = image.attribute("Image");
    if (found != nullptr && found->typeId() == KXAttributeSprite::staticType()) {
        static_cast<KXAttributeSprite*>(found)->setValue(container, false);
    }
}

} // namespace

KXBaseAttributeAnimation::KXBaseAttributeAnimation(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeModel<KXModelAnimation>(name, owner, flags) {}

KXBaseAttributeAnimation::KXBaseAttributeAnimation(const std::string& name, KXModel* owner,
                                                   const KXBaseAttributeAnimation& source)
    : KXBaseAttributeModel<KXModelAnimation>(name, owner, source), m_loop(source.m_loop) {
    if (std::shared_ptr<KXModelAnimation> animation = value()) {
        replaceModel(modelKindCast<KXModelAnimation>(animation->clone(true, true)));
    }
}

void KXBaseAttributeAnimation::referenceLoaded() {
    if (std::shared_ptr<KXModelAnimation> animation = value()) {
        m_loop = modelBoolValue(*animation, "Loop", m_loop);
    }
}

void KXBaseAttributeAnimation::addFrame(const std::shared_ptr<KXModelSpriteContainer>& container) {
    std::shared_ptr<KXModelAnimation> animation = value();
    if (!animation) {
        animation = createModel<KXModelAnimation>();
        setModelBoolValue(*animation, "Loop", m_loop);
        setModelFloatValue(*animation, "Duration", kNewAnimationDuration);
        replaceModel(animation);
    } else {
        removeAllFrames(*animation);
    }
    m_frameSource = container;

    if (container) {
        auto image = KXModel::makeShared<KXModelObjectImage>(container->name());
        KXModelController::shared()->addModel(image);
        showImage(*image, container);
        animation->addChild(image, false);
        const size_t sprites = getChildren<KXModelSprite>(*container).size();
        setModelFloatValue(*animation, "Duration", static_cast<float>(sprites) / kFramesPerSecond);
    }
    notifyChanged(0);
}
