#include "player/base/KXPMirrorBudget.h"

#include <algorithm>

KXPMirrorBudget::Size KXPMirrorBudget::take(const Size& wanted) {
    Size size{std::max(wanted.width, 1), std::max(wanted.height, 1)};
    for (int halvings = 0; halvings <= kMaxHalvings; ++halvings) {
        if (size.pixels() <= kTexturePixels - m_held) {
            m_held += size.pixels();
            return size;
        }
        size = Size{std::max(size.width / 2, 1), std::max(size.height / 2, 1)};
    }
    return Size{};
}

void KXPMirrorBudget::giveBack(const Size& given) {
    m_held = std::max<int64_t>(m_held - given.pixels(), 0);
}

bool KXPMirrorBudget::takeCapture() {
    if (m_captures >= kCapturesPerFrame) {
        return false;
    }
    ++m_captures;
    return true;
}
