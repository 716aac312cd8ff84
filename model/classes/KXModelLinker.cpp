#include "model/classes/KXModelLinker.h"

KXModelLinker::KXModelLinker(const std::string& name) : KXBaseModelLinker(name) {}

KXModelLinker::KXModelLinker(const KXModelLinker& source) : KXBaseModelLinker(source) {}
