#include "player/base/KXPLightBudget.h"

void KXPLightBudget::beginStep() {
    m_rays = 0;
    m_lit = 0.0f;
    m_shadowsRefused = false;
    m_lightRefused = false;
}

void KXPLightBudget::castShadowRays(int rays) {
    if (rays > 0) {
        m_rays += rays;
    }
}

bool KXPLightBudget::refuseShadows() {
    m_shadowsRefused = true;
    const bool first = !m_saidShadows;
    m_saidShadows = true;
    return first;
}

bool KXPLightBudget::takeLight(float share) {
    if (!(share > 0.0f)) {
        return true;
    }
    if (m_lightRefused || share > kLitScreensPerStep - m_lit) {
        m_lightRefused = true;
        return false;
    }
    m_lit += share;
    return true;
}

bool KXPLightBudget::refuseLight() {
    const bool first = !m_saidLight;
    m_saidLight = true;
    return first;
}
