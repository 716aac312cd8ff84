#include "player/services/KXPWindowRequests.h"

#include <SDL2/SDL.h>

uint32_t windowRequestEventType() {
    static const uint32_t type = [] {
        const Uint32 registered = SDL_RegisterEvents(1);
        return registered == static_cast<Uint32>(-1) ? static_cast<Uint32>(SDL_USEREVENT) : registered;
    }();
    return type;
}

bool postWindowRequest(KXPWindowRequest request, bool flag) {
    SDL_Event event;
    SDL_zero(event);
    event.type = windowRequestEventType();
    event.user.code = request;
    event.user.data1 = flag ? &event : nullptr; // only null or not matters
    event.user.data2 = nullptr;
    return SDL_PushEvent(&event) == 1;
}
