#include "model/classes/KXModelFont.h"

KXModelFont::KXModelFont(const std::string& name) : KXBaseModelFont(name) {}

KXModelFont::KXModelFont(const KXModelFont& source) : KXBaseModelFont(source) {}
