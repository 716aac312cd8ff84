#include "textures/CCPictureBudget.h"

#include <atomic>

namespace cocos2d {

namespace {
std::atomic<std::uint64_t> g_budget{kCCDefaultPictureBudget};
std::atomic<std::uint64_t> g_held{0};
} // namespace

CCPictureShare& CCPictureShare::operator=(CCPictureShare&& other) noexcept {
    if (this != &other) {
        giveBack();
        m_bytes = other.m_bytes;
        other.m_bytes = 0;
    }
    return *this;
}

bool CCPictureShare::take(std::uint64_t bytes) {
    giveBack();
    std::uint64_t held = g_held.load();
    do {
        if (bytes > g_budget.load() || held > g_budget.load() - bytes)
            return false;
    } while (!g_held.compare_exchange_weak(held, held + bytes));
    m_bytes = bytes;
    return true;
}

void CCPictureShare::giveBack() {
    g_held -= m_bytes;
    m_bytes = 0;
}

std::uint64_t ccPictureBudget() {
    return g_budget;
}

void ccSetPictureBudget(std::uint64_t bytes) {
    g_budget = bytes;
}

std::uint64_t ccPictureBytesHeld() {
    return g_held;
}

} // namespace cocos2d
