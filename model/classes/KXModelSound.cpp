#include "model/classes/KXModelSound.h"

KXModelSound::KXModelSound(const std::string& name) : KXBaseModelSound(name) {}

KXModelSound::KXModelSound(const KXModelSound& source) : KXBaseModelSound(source) {}
