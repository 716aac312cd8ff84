#include "model/references/KXAttributeSound.h"

KXAttributeSound::KXAttributeSound(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeModel<KXModelSound>(name, owner, flags) {}

KXAttributeSound::KXAttributeSound(const std::string& name, KXModel* owner, const KXAttributeSound& source)
    : KXBaseAttributeModel<KXModelSound>(name, owner, source) {}
