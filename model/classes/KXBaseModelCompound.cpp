#include "model/classes/KXBaseModelCompound.h"

#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponent.h"

KXBaseModelCompound::KXBaseModelCompound(const std::string& name) : KXModel(name) {}

KXBaseModelCompound::KXBaseModelCompound(const KXBaseModelCompound& source) : KXModel(source) {}

void KXBaseModelCompound::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModel::childAdded(child);
    if (modelKindCast<KXModelComponent>(child)) {
        m_components.add(child);
    }
}

void KXBaseModelCompound::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModel::childRemoved(child);
    if (modelKindCast<KXModelComponent>(child)) {
        m_components.removeFirst(child);
    }
}

void KXBaseModelCompound::allChildrenRemoved() {
    KXModel::allChildrenRemoved();
    m_components.clear();
}
