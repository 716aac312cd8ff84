#include "kazmath/mat4.h"

#include <cmath>
#include <cstring>

kmMat4* kmMat4Identity(kmMat4* pOut) {
    std::memset(pOut->mat, 0, sizeof(pOut->mat));
    pOut->mat[0] = pOut->mat[5] = pOut->mat[10] = pOut->mat[15] = 1.0f;
    return pOut;
}

kmMat4* kmMat4Fill(kmMat4* pOut, const float* values) {
    std::memcpy(pOut->mat, values, sizeof(pOut->mat));
    return pOut;
}

kmMat4* kmMat4Multiply(kmMat4* pOut, const kmMat4* pM1, const kmMat4* pM2) {
    const float* a = pM1->mat;
    const float* b = pM2->mat;
    float r[16];
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            r[c * 4 + row] = a[0 * 4 + row] * b[c * 4 + 0] + a[1 * 4 + row] * b[c * 4 + 1] +
                             a[2 * 4 + row] * b[c * 4 + 2] + a[3 * 4 + row] * b[c * 4 + 3];
        }
    }
    std::memcpy(pOut->mat, r, sizeof(r));
    return pOut;
}

kmMat4* kmMat4Inverse(kmMat4* pOut, const kmMat4* pM) {
    // Cofactor expansion; exact enough for the affine matrices of a 2D scene graph.
    const float* m = pM->mat;
    float inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
             m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
             m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
             m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
              m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
             m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
             m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
             m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
              m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
             m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
              m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
              m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
             m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];

    const float det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (det == 0.0f || !std::isfinite(det)) {
        return nullptr;
    }
    const float invDet = 1.0f / det;
    for (float& v : inv) {
        v *= invDet;
    }
    std::memcpy(pOut->mat, inv, sizeof(inv));
    return pOut;
}

kmMat4* kmMat4Translation(kmMat4* pOut, float x, float y, float z) {
    kmMat4Identity(pOut);
    pOut->mat[12] = x;
    pOut->mat[13] = y;
    pOut->mat[14] = z;
    return pOut;
}

kmMat4* kmMat4RotationZ(kmMat4* pOut, float radians) {
    kmMat4Identity(pOut);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    pOut->mat[0] = c;
    pOut->mat[1] = s;
    pOut->mat[4] = -s;
    pOut->mat[5] = c;
    return pOut;
}

kmMat4* kmMat4Scaling(kmMat4* pOut, float x, float y, float z) {
    kmMat4Identity(pOut);
    pOut->mat[0] = x;
    pOut->mat[5] = y;
    pOut->mat[10] = z;
    return pOut;
}

kmMat4* kmMat4OrthographicProjection(kmMat4* pOut, float left, float right, float bottom, float top,
                                     float nearVal, float farVal) {
    kmMat4Identity(pOut);
    pOut->mat[0] = 2.0f / (right - left);
    pOut->mat[5] = 2.0f / (top - bottom);
    pOut->mat[10] = -2.0f / (farVal - nearVal);
    pOut->mat[12] = -(right + left) / (right - left);
    pOut->mat[13] = -(top + bottom) / (top - bottom);
    pOut->mat[14] = -(farVal + nearVal) / (farVal - nearVal);
    return pOut;
}

bool kmMat4AreEqual(const kmMat4* pM1, const kmMat4* pM2) {
    for (int i = 0; i < 16; ++i) {
        if (std::fabs(pM1->mat[i] - pM2->mat[i]) > 1e-5f) {
            return false;
        }
    }
    return true;
}

void kmMat4TransformPoint(const kmMat4* pM, float x, float y, float z, float* out) {
    const float* m = pM->mat;
    out[0] = m[0] * x + m[4] * y + m[8] * z + m[12];
    out[1] = m[1] * x + m[5] * y + m[9] * z + m[13];
    out[2] = m[2] * x + m[6] * y + m[10] * z + m[14];
}
