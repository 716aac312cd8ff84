#include "model/classes/KXNodeScene.h"

#include "model/KXBaseAttribute.h"
#include "model/classes/KXModelQueries.h"

#include <unordered_set>

KXNodeScene::KXNodeScene(const std::string& name) : KXNode(name.empty() ? defaultSceneNodeName() : name) {
    KXBaseAttribute* ui = new KXAttribute(kUIPortName, this);
    ui->setConnectionKind(KXAttributeConnectionOutput, true);
}

KXNodeScene::KXNodeScene(const KXNodeScene& source) : KXNode(source) {}

bool KXNodeScene::filterAttribute(const KXBaseAttribute* attribute) const {
    if (attribute != nullptr && attribute->name() == kUIPortName) {
        return true;
    }
    return KXNode::filterAttribute(attribute);
}

std::string KXNodeScene::defaultSceneNodeName() {
    std::unordered_set<std::string> taken;
    for (const std::shared_ptr<KXNodeScene>& node : getModels<KXNodeScene>()) {
        taken.insert(node->name());
    }
    // At most one number per stored node is taken, so this ends within count + 1 tries.
    for (unsigned long number = 1;; ++number) {
        std::string candidate = "New World " + std::to_string(number);
        if (taken.count(candidate) == 0) {
            return candidate;
        }
    }
}
