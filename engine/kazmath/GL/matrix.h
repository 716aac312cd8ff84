// The fixed-function style matrix stack used by node visiting: pure CPU state, no GL calls.
// The renderer reads the tops with kmGLGetMatrix when it draws.
#pragma once

#include "kazmath/mat4.h"

using kmGLEnum = unsigned int;

constexpr kmGLEnum KM_GL_MODELVIEW = 0x1700;
constexpr kmGLEnum KM_GL_PROJECTION = 0x1701;
constexpr kmGLEnum KM_GL_TEXTURE = 0x1702;

// Unknown modes are ignored, so the current mode stays valid.
void kmGLMatrixMode(kmGLEnum mode);
void kmGLPushMatrix();
// Popping the last matrix of a stack leaves the identity on it instead of an empty stack.
void kmGLPopMatrix();
void kmGLLoadIdentity();
void kmGLLoadMatrix(const kmMat4* pIn);
void kmGLMultMatrix(const kmMat4* pIn);
// The top times a 2D affine transform (x' = a x + c y + tx, y' = b x + d y + ty), as kmGLMultMatrix
// of its 4x4 form but without the products by its constant zeros and ones: the scene graph does
// this for every node it visits.
void kmGLMultAffine(float a, float b, float c, float d, float tx, float ty);
// kmGLPushMatrix, then kmGLMultAffine, in one step.
void kmGLPushMatrixMultAffine(float a, float b, float c, float d, float tx, float ty);
void kmGLTranslatef(float x, float y, float z);
// Counter-clockwise degrees about the axis (x, y, z), as glRotatef.
void kmGLRotatef(float angle, float x, float y, float z);
void kmGLScalef(float x, float y, float z);
void kmGLGetMatrix(kmGLEnum mode, kmMat4* pOut);
// Resets every stack to a single identity matrix and the mode to model-view.
void kmGLFreeAll();
// Depth of a stack (1 when balanced); for checks of push/pop pairing.
int kmGLStackDepth(kmGLEnum mode);
