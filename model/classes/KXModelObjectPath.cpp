#include "model/classes/KXModelObjectPath.h"

KXModelObjectPath::KXModelObjectPath(const std::string& name) : KXBaseModelObjectPath(name) {}

KXModelObjectPath::KXModelObjectPath(const KXModelObjectPath& source) : KXBaseModelObjectPath(source) {}
