#include "model/classes/KXNodeUI.h"

#include "model/classes/KXModelQueries.h"

std::shared_ptr<KXModel> KXNodeUI::create() {
    return KXModel::makeShared<KXNodeUI>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXNodeUI::createCopy(const KXNodeUI& source) {
    return KXModel::makeShared<KXNodeUI>(source);
}

KXNodeUI::KXNodeUI(const std::string& name) : KXNode(name.empty() ? defaultName() : name) {}

KXNodeUI::KXNodeUI(const KXNodeUI& source) : KXNode(source) {}

std::shared_ptr<KXModel> KXNodeUI::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}

std::string KXNodeUI::defaultName() {
    for (unsigned long number = 1;; ++number) {
        const std::string candidate = "New UI " + std::to_string(number);
        bool taken = false;
        for (const std::shared_ptr<KXNodeUI>& node : getModels<KXNodeUI>()) {
            if (node->name() == candidate) {
                taken = true;
                break;
            }
        }
        if (!taken) {
            return candidate;
        }
    }
}
