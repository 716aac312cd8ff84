// Conversions between the 2D affine transform and a column-major 4x4 GL matrix.
#pragma once

#include "base/CCAffineTransform.h"

NS_CC_BEGIN

// m receives 16 floats.
void CGAffineToGL(const CCAffineTransform* t, float* m);
// Reads the 2D part of a 16-float matrix.
void GLToCGAffine(const float* m, CCAffineTransform* t);

NS_CC_END
