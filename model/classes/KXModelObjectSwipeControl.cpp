#include "model/classes/KXModelObjectSwipeControl.h"

KXModelObjectSwipeControl::KXModelObjectSwipeControl(const std::string& name) : KXModelObject(name) {}

KXModelObjectSwipeControl::KXModelObjectSwipeControl(const KXModelObjectSwipeControl& source)
    : KXModelObject(source) {}
