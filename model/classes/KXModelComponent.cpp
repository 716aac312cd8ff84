#include "model/classes/KXModelComponent.h"

KXModelComponent::KXModelComponent(const std::string& name) : KXModel(name) {}

KXModelComponent::KXModelComponent(const KXModelComponent& source) : KXModel(source) {}
