// A deleted texture's storage, let go of at once. Drivers that validate their state lazily (Mesa,
// which draws offscreen and under Xvfb) keep a deleted texture while their own bindings and queued
// commands still refer to it, until a later draw binds other textures. A picture released at a
// screen change would stay beside the next screen's pictures, decoded before that draw: three
// pictures of 256 MiB held where the picture budget allows two. Mesa's llvmpipe also keeps each
// texture a finished frame drew until it reuses that frame's place, and the draw below takes only
// one place: frames must be waited on one by one (a window's swap does; the offscreen view waits).
#pragma once

namespace cocos2d {

// Draws a triangle that covers no pixel, from no vertex array, and waits for the driver to finish:
// its bindings then hold only live textures, and what it kept of deleted ones goes. The GL state
// is left as it was.
void ccGLReleaseDeletedTextureStorage();

} // namespace cocos2d
