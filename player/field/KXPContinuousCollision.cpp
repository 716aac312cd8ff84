#include "player/field/KXPContinuousCollision.h"

bool KXPContinuousCollision::beforeStep(const b2World& world) {
    if (!m_on) {
        ++m_stepsOff;
        if (world.GetContactCount() <= m_contactsWhenOff / 2 || m_stepsOff >= kRestSteps) {
            m_on = true;
        }
    }
    return m_on && m_frameWork < kWorkPerFrame;
}

bool KXPContinuousCollision::afterStep(const b2World& world, uint64_t updates) {
    const int32 contacts = world.GetContactCount();
    m_lastWork = updates * static_cast<uint64_t>(contacts > 0 ? contacts : 0);
    m_frameWork += m_lastWork;
    if (!m_on || m_lastWork < kWorkPerFrame) {
        return false;
    }
    m_on = false;
    m_contactsWhenOff = contacts;
    m_stepsOff = 0;
    return true;
}
