#pragma once

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelComponent.h"
#include "model/references/KXAttributeAnimation.h"

#include <memory>
#include <string>

// The three icon animations that selection screens show for a character.
class KXModelComponentCharacterIcon : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentCharacterIcon, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentCharacterIcon)
    KX_MODEL_CLONE(KXModelComponentCharacterIcon)

public:
    static constexpr const char* kDefaultObjectName = "Character Icon";

    explicit KXModelComponentCharacterIcon(const std::string& name);
    KXModelComponentCharacterIcon(const KXModelComponentCharacterIcon& source);

    std::shared_ptr<KXModelAnimation> regularIcon() const;
    std::shared_ptr<KXModelAnimation> lockedIcon() const;
    std::shared_ptr<KXModelAnimation> selectedIcon() const;

private:
    KXAttributeAnimation* m_regularIcon = nullptr;
    KXAttributeAnimation* m_lockedIcon = nullptr;
    KXAttributeAnimation* m_selectedIcon = nullptr;
};
