#include "player/base/KXPParticleBudget.h"

#include <algorithm>

unsigned int KXPParticleBudget::take(unsigned int wanted) {
    const int64_t given = std::min<int64_t>(wanted, std::max<int64_t>(kParticles - m_held, 0));
    m_held += given;
    return static_cast<unsigned int>(given);
}

void KXPParticleBudget::giveBack(unsigned int given) {
    m_held = std::max<int64_t>(m_held - given, 0);
}

bool KXPParticleBudget::refuse() {
    const bool first = !m_refused;
    m_refused = true;
    return first;
}
