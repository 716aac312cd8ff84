#include "model/classes/KXModelObjectLoadingBar.h"

KXModelObjectLoadingBar::KXModelObjectLoadingBar(const std::string& name) : KXModelObject(name) {}

KXModelObjectLoadingBar::KXModelObjectLoadingBar(const KXModelObjectLoadingBar& source)
    : KXModelObject(source) {}
