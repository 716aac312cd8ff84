#include "player/physics/KXPContinuousCollision.h"

// Box2D's own count of the times of impact it has worked out: exported by the library, though
// not declared in its headers.
extern B2_API int32 b2_toiCalls;

KXPStepWork KXPContinuousCollision::predicted(int64_t contacts, int64_t made) const {
    KXPStepWork work;
    if (m_restLeft > 0) {
        return work;
    }
    work.impacts = kxcount::add(m_calls, made);
    // Each impact updates its contact and those of its bodies with still ones (about two updates),
    // and looks at every contact again; once more to find there is none left.
    work.scans = kxcount::mul(kxcount::add(m_updates / 2, 1), contacts);
    return work;
}

void KXPContinuousCollision::beforeStep(bool continuous) {
    m_continuous = continuous;
    m_callsBefore = b2_toiCalls;
    if (m_restLeft > 0) {
        --m_restLeft;
    }
}

bool KXPContinuousCollision::afterStep(const KXPStepContacts& contacts) {
    m_lastCalls = b2_toiCalls - m_callsBefore;
    if (m_continuous) {
        m_calls = m_lastCalls;
        m_updates = contacts.impacts();
    } else {
        // What a step without it would have found is not known: the last counts wane.
        m_calls -= (m_calls + 7) / 8;
        m_updates -= (m_updates + 7) / 8;
    }
    if (m_lastCalls <= kImpactsPerStep || m_restLeft > 0) {
        return false;
    }
    m_restLeft = kRestSteps;
    return true;
}
