#pragma once

// A two-state switch: each press turns it on or off and tells the input listeners (event 11 on,
// 12 off). Its state is kept per model for the whole process, so a rebuilt screen shows it as
// it was and two buttons of one model share it. Presses call no press or release handler.

#include "player/objects/buttons/KXPObjectButton.h"

class KXPObjectButtonSwitch : public KXPObjectButton {
public:
    void setModel(const std::shared_ptr<KXModelObjectButton>& model) override;
    void selected() override;
    void unselected() override;

    bool isOn() const { return m_on; }

private:
    // Takes the model's entry of the switch-state table, when it has one.
    void readState();

    bool m_on = false;
};
