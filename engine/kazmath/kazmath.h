// The engine's matrix helpers: 4x4 matrices, the matrix stack and affine conversions.
#pragma once

#include "kazmath/GL/matrix.h"
#include "kazmath/TransformUtils.h"
#include "kazmath/mat4.h"
