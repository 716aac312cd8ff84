#include "model/classes/KXModelObjectButton.h"

KXModelObjectButton::KXModelObjectButton(const std::string& name) : KXBaseModelObjectButton(name) {}

KXModelObjectButton::KXModelObjectButton(const KXModelObjectButton& source)
    : KXBaseModelObjectButton(source) {}
