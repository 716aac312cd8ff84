#pragma once

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXBaseAttributeModel.h"

#include <memory>
#include <string>

// Refers to an animation model and keeps its loop flag. A copied attribute owns its own
// animation: the copy constructor replaces the shared animation by a deep clone of it.
class KXBaseAttributeAnimation : public KXBaseAttributeModel<KXModelAnimation> {
public:
    KXBaseAttributeAnimation(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXBaseAttributeAnimation(const std::string& name, KXModel* owner, const KXBaseAttributeAnimation& source);

    // The sprite container last given as frame source (never stored), not the animation.
    virtual std::shared_ptr<KXModelSpriteContainer> animation() const { return m_frameSource; }

    // Makes the animation show the container's sprites as its one frame: creates and registers
    // an animation when none is referenced (else drops its frames), adds an image of the
    // container, and sets the duration from the sprite count at 30 frames a second.
    void addFrame(const std::shared_ptr<KXModelSpriteContainer>& container);

    bool loop() const { return m_loop; }
    void setLoop(bool loop) { m_loop = loop; }

protected:
    // A loaded animation hands its "Loop" to the attribute.
    void referenceLoaded() override;

    std::shared_ptr<KXModelSpriteContainer> m_frameSource;

private:
    bool m_loop = true;
};
