#include "view/CCGLDriverPin.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <initializer_list>
#endif

namespace cocos2d {

#if defined(__SANITIZE_ADDRESS__)
namespace {

// The DRI driver and the EGL and GLX libraries that load it (SDL loads and unloads EGL itself).
bool isDriverModule(const char* name) {
    for (const char* part : {"/dri/", "/libEGL", "/libGLX", "/libglapi", "/libgbm"}) {
        if (std::strstr(name, part) != nullptr) {
            return true;
        }
    }
    return false;
}

int pinIfDriver(struct dl_phdr_info* info, size_t /*size*/, void* /*data*/) {
    const char* name = info->dlpi_name;
    if (name != nullptr && isDriverModule(name)) {
        // NOLOAD: only takes another reference to what is mapped; NODELETE keeps it there.
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

} // namespace

void ccPinGLDriverModules() {
    dl_iterate_phdr(&pinIfDriver, nullptr);
}
#else
void ccPinGLDriverModules() {}
#endif

} // namespace cocos2d
