#include "model/classes/KXModelObjectButtonSwitch.h"

#include "model/attributes/KXAttributeString.h"

KXModelObjectButtonSwitch::KXModelObjectButtonSwitch(const std::string& name) : KXModelObjectButton(name) {
    // A switch sends the input controller's action-button action unless a record says otherwise.
    if (auto* action = dynamic_cast<KXAttributeString*>(attribute("Action"))) {
        action->setValue(kSwitchAction, true);
    }
}

KXModelObjectButtonSwitch::KXModelObjectButtonSwitch(const KXModelObjectButtonSwitch& source)
    : KXModelObjectButton(source) {}
