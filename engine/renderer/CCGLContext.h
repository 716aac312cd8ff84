// Whether a GL context is current. Every GL call of the engine is guarded by it, so the
// headless view (no GL) can run the same scene graph with drawing skipped.
#pragma once

namespace cocos2d {

bool ccGLContextReady();
// Called by the view once its context is current and the entry points are loaded.
void ccGLSetContextReady(bool ready);
// Loads the GL entry points for the current context. glewInit reports 4 (no GLX display)
// under the EGL offscreen driver although every entry point works, so 0 and 4 are both
// accepted as long as GL 2.0 is there.
bool ccGLLoadEntryPoints();

} // namespace cocos2d
