#include "model/classes/KXModelObjectButtonSwitch.h"

#include "model/attributes/KXAttributeString.h"

std::shared_ptr<KXModel> KXModelObjectButtonSwitch::create() {
    return KXModel::makeShared<KXModelObjectButtonSwitch>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectButtonSwitch::createCopy(const KXModelObjectButtonSwitch& source) {
    return KXModel::makeShared<KXModelObjectButtonSwitch>(source);
}

KXModelObjectButtonSwitch::KXModelObjectButtonSwitch(const std::string& name) : KXModelObjectButton(name) {
    // A switch sends the input controller's action-button action unless a record says otherwise.
    if (auto* action = dynamic_cast<KXAttributeString*>(attribute("Action"))) {
        action->setValue(kSwitchAction, true);
    }
}

KXModelObjectButtonSwitch::KXModelObjectButtonSwitch(const KXModelObjectButtonSwitch& source)
    : KXModelObjectButton(source) {}

std::shared_ptr<KXModel> KXModelObjectButtonSwitch::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
