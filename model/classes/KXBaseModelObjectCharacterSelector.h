#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObject.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"

#include <memory>
#include <string>

// The carousel of the game's characters with their names and the offer to unlock them.
class KXBaseModelObjectCharacterSelector : public KXModelObject {
public:
    explicit KXBaseModelObjectCharacterSelector(const std::string& name);
    KXBaseModelObjectCharacterSelector(const KXBaseModelObjectCharacterSelector& source);

    bool labelVisibility() const;
    float labelVerticalSpacing() const;
    const std::string& labelName() const;
    // "Label Name" read as a font's id; 0 when it does not start with one.
    uint32_t labelNameValue() const;
    std::shared_ptr<KXModelAnimation> unlockButton() const;
    std::shared_ptr<KXModelSound> unlockYes() const;
    std::shared_ptr<KXModelSound> unlockNo() const;
    std::shared_ptr<KXModelAnimation> unlockSuggestion() const;
    float spread() const;

private:
    KXAttributeBool* m_labelVisibility = nullptr;
    KXAttributeFloat* m_labelVerticalSpacing = nullptr;
    KXAttributeStringList* m_labelName = nullptr;
    KXAttributeAnimation* m_unlockButton = nullptr;
    KXAttributeSound* m_unlockYes = nullptr;
    KXAttributeSound* m_unlockNo = nullptr;
    KXAttributeAnimation* m_unlockSuggestion = nullptr;
    KXAttributeFloat* m_spread = nullptr;
};
