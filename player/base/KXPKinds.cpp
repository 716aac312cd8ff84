#include "player/base/KXPKinds.h"

#include "player/base/KXPTrace.h"

void kxKindMade(const char* factory, const char* row) {
    kxTrace("kinds", "kind %s:%s", factory, row);
}
