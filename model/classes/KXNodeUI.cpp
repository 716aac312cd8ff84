#include "model/classes/KXNodeUI.h"

#include "model/classes/KXModelQueries.h"

KXNodeUI::KXNodeUI(const std::string& name) : KXNode(name.empty() ? defaultName() : name) {}

KXNodeUI::KXNodeUI(const KXNodeUI& source) : KXNode(source) {}

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
