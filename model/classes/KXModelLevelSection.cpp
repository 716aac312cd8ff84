#include "model/classes/KXModelLevelSection.h"

#include "model/KXDeepCopy.h"

KXModelLevelSection::KXModelLevelSection(const std::string& name) : KXBaseModelLevelSection(name) {}

KXModelLevelSection::KXModelLevelSection(const KXModelLevelSection& source)
    : KXBaseModelLevelSection(source) {}

std::shared_ptr<KXModel> KXModelLevelSection::clone(bool deep, bool registerClone) const {
    std::shared_ptr<KXModel> copy = KXModel::makeShared<KXModelLevelSection>(*this);
    if (registerClone) {
        copy->registerWithController(*this);
    }
    auto section = std::static_pointer_cast<KXModelLevelSection>(copy);
    std::shared_ptr<KXModel> source = sharedFromThis();
    if (!deep || !source) {
        section->copySectionChildren(source, deep, registerClone);
        return copy;
    }
    kxCopyChildrenDeeply(source, [section, source, registerClone] {
        section->copySectionChildren(source, true, registerClone);
    });
    return copy;
}
