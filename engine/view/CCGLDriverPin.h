// Sanitizer builds only: keeps the GL driver mapped once loaded. The driver allocates for the
// life of the process and is unloaded when the video subsystem quits; a leak report made after
// that cannot name it, so suppressions (tests/lsan.supp) could not tell its leaks from ours.
#pragma once

namespace cocos2d {

// Marks every loaded GL driver module (the DRI driver, EGL, GLX) as never unloaded. Does nothing
// in other builds.
void ccPinGLDriverModules();

} // namespace cocos2d
