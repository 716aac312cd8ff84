// Sanitizer builds only: keeps the GL driver mapped once loaded. The driver keeps allocations
// for the life of the process in its own globals and is unloaded when the video subsystem quits;
// at the leak check they would then read as leaks of an unnamed module. Mapped, they stay
// reachable, and the leak check needs no suppression for the driver.
#pragma once

namespace cocos2d {

// Marks every loaded GL driver module (the DRI driver, EGL, GLX) as never unloaded. Does nothing
// in other builds.
void ccPinGLDriverModules();

} // namespace cocos2d
