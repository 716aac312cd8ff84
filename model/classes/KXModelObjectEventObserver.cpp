#include "model/classes/KXModelObjectEventObserver.h"

KXModelObjectEventObserver::KXModelObjectEventObserver(const std::string& name)
    : KXBaseModelObjectEventObserver(name) {}

KXModelObjectEventObserver::KXModelObjectEventObserver(const KXModelObjectEventObserver& source)
    : KXBaseModelObjectEventObserver(source) {}
