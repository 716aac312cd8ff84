#include "player/base/KXPClock.h"

#include <chrono>
#include <utility>

namespace {

KXPClock::Source& replacement() {
    static KXPClock::Source source;
    return source;
}

} // namespace

double KXPClock::calendarSeconds() {
    if (const Source& source = replacement()) {
        return source();
    }
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

double KXPClock::steadySeconds() {
    if (const Source& source = replacement()) {
        return source();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void KXPClock::replace(Source source) {
    replacement() = std::move(source);
}
