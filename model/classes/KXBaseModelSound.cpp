#include "model/classes/KXBaseModelSound.h"

#include "model/classes/KXMediaPath.h"

KXBaseModelSound::KXBaseModelSound(const std::string& name) : KXModel(name) {}

KXBaseModelSound::KXBaseModelSound(const KXBaseModelSound& source) : KXModel(source) {}

std::string KXBaseModelSound::soundPath() const {
    return kxMediaPath("/sounds/KXModelSound_ID", id(), ".mp3");
}
