#include "model/classes/KXModelScreen.h"

KXModelScreen::KXModelScreen(const std::string& name) : KXBaseModelScreen(name) {}

KXModelScreen::KXModelScreen(const KXModelScreen& source) : KXBaseModelScreen(source) {}
