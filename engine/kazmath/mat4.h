// 4x4 float matrices, column-major as GL expects (element (row r, column c) is mat[c * 4 + r]).
#pragma once

struct kmMat4 {
    float mat[16];
};

kmMat4* kmMat4Identity(kmMat4* pOut);
kmMat4* kmMat4Fill(kmMat4* pOut, const float* values);
// pOut = pM1 * pM2 (pM2 is applied to a vector first). pOut may alias either input.
kmMat4* kmMat4Multiply(kmMat4* pOut, const kmMat4* pM1, const kmMat4* pM2);
// Returns null and leaves pOut untouched when pM is singular.
kmMat4* kmMat4Inverse(kmMat4* pOut, const kmMat4* pM);
kmMat4* kmMat4Translation(kmMat4* pOut, float x, float y, float z);
// Counter-clockwise rotation about the z axis, in radians.
kmMat4* kmMat4RotationZ(kmMat4* pOut, float radians);
kmMat4* kmMat4Scaling(kmMat4* pOut, float x, float y, float z);
kmMat4* kmMat4OrthographicProjection(kmMat4* pOut, float left, float right, float bottom, float top,
                                     float nearVal, float farVal);
bool kmMat4AreEqual(const kmMat4* pM1, const kmMat4* pM2);
// Transforms the point (x, y, z, 1) and stores x', y', z' in out[0..2].
void kmMat4TransformPoint(const kmMat4* pM, float x, float y, float z, float* out);
