#include "player/objects/controls/KXPObjectManipulator.h"

#include "model/classes/KXModelObjectManipulator.h"

KXPObjectManipulator::KXPObjectManipulator() {
    init();
}

KXPObjectManipulator::~KXPObjectManipulator() = default;

void KXPObjectManipulator::setModel(const std::shared_ptr<KXModelObjectManipulator>& model) {
    m_model = model;
    if (m_model) {
        m_absolute = m_model->controlStyle() == kControlStyleAbsolute;
    }
}

float KXPObjectManipulator::sensitivity() {
    return m_model ? m_model->sensitivity() : 0.0f;
}
