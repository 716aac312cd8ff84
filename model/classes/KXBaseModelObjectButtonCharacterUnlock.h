#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"

#include <string>

// A button that unlocks one character, named by its key.
class KXBaseModelObjectButtonCharacterUnlock : public KXModelObjectButton {
public:
    explicit KXBaseModelObjectButtonCharacterUnlock(const std::string& name);
    KXBaseModelObjectButtonCharacterUnlock(const KXBaseModelObjectButtonCharacterUnlock& source);

    const std::string& character() const;
    bool showWhenSelected() const;

private:
    KXAttributeStringList* m_character = nullptr;
    KXAttributeBool* m_showWhenSelected = nullptr;
};
