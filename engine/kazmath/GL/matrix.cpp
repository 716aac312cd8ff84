#include "kazmath/GL/matrix.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct MatrixStack {
    std::vector<kmMat4> items;

    MatrixStack() {
        items.reserve(64);
        reset();
    }
    void reset() {
        items.clear();
        kmMat4 identity;
        kmMat4Identity(&identity);
        items.push_back(identity);
    }
    kmMat4& top() { return items.back(); }
};

struct MatrixState {
    MatrixStack modelView;
    MatrixStack projection;
    MatrixStack texture;
    MatrixStack* current = &modelView;

    MatrixStack* stackFor(kmGLEnum mode) {
        switch (mode) {
        case KM_GL_MODELVIEW:
            return &modelView;
        case KM_GL_PROJECTION:
            return &projection;
        case KM_GL_TEXTURE:
            return &texture;
        default:
            return nullptr;
        }
    }
};

MatrixState& state() {
    static MatrixState s;
    return s;
}

void rotationAboutAxis(kmMat4* out, float radians, float x, float y, float z) {
    kmMat4Identity(out);
    const float len = std::sqrt(x * x + y * y + z * z);
    if (len == 0.0f || !std::isfinite(len)) {
        return;
    }
    x /= len;
    y /= len;
    z /= len;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float t = 1.0f - c;
    float* m = out->mat;
    m[0] = t * x * x + c;
    m[1] = t * x * y + s * z;
    m[2] = t * x * z - s * y;
    m[4] = t * x * y - s * z;
    m[5] = t * y * y + c;
    m[6] = t * y * z + s * x;
    m[8] = t * x * z + s * y;
    m[9] = t * y * z - s * x;
    m[10] = t * z * z + c;
}

} // namespace

void kmGLMatrixMode(kmGLEnum mode) {
    if (MatrixStack* stack = state().stackFor(mode)) {
        state().current = stack;
    }
}

void kmGLPushMatrix() {
    MatrixStack& stack = *state().current;
    stack.items.push_back(stack.top());
}

void kmGLPopMatrix() {
    MatrixStack& stack = *state().current;
    if (stack.items.size() > 1) {
        stack.items.pop_back();
    } else {
        kmMat4Identity(&stack.top());
    }
}

void kmGLLoadIdentity() {
    kmMat4Identity(&state().current->top());
}

void kmGLLoadMatrix(const kmMat4* pIn) {
    state().current->top() = *pIn;
}

void kmGLMultMatrix(const kmMat4* pIn) {
    kmMat4& top = state().current->top();
    kmMat4Multiply(&top, &top, pIn);
}

namespace {

void multAffine(const kmMat4& top, float a, float b, float c, float d, float tx, float ty, kmMat4* out) {
    const float* m = top.mat;
    float r[16];
    for (int row = 0; row < 4; ++row) {
        r[row] = m[row] * a + m[4 + row] * b;
        r[4 + row] = m[row] * c + m[4 + row] * d;
        r[8 + row] = m[8 + row];
        r[12 + row] = m[row] * tx + m[4 + row] * ty + m[12 + row];
    }
    std::memcpy(out->mat, r, sizeof r);
}

} // namespace

void kmGLMultAffine(float a, float b, float c, float d, float tx, float ty) {
    kmMat4& top = state().current->top();
    multAffine(top, a, b, c, d, tx, ty, &top);
}

void kmGLPushMatrixMultAffine(float a, float b, float c, float d, float tx, float ty) {
    MatrixStack& stack = *state().current;
    stack.items.emplace_back();
    multAffine(stack.items[stack.items.size() - 2], a, b, c, d, tx, ty, &stack.items.back());
}

void kmGLTranslatef(float x, float y, float z) {
    kmMat4 t;
    kmMat4Translation(&t, x, y, z);
    kmGLMultMatrix(&t);
}

void kmGLRotatef(float angle, float x, float y, float z) {
    kmMat4 r;
    rotationAboutAxis(&r, angle * 3.14159265358979323846f / 180.0f, x, y, z);
    kmGLMultMatrix(&r);
}

void kmGLScalef(float x, float y, float z) {
    kmMat4 s;
    kmMat4Scaling(&s, x, y, z);
    kmGLMultMatrix(&s);
}

void kmGLGetMatrix(kmGLEnum mode, kmMat4* pOut) {
    if (MatrixStack* stack = state().stackFor(mode)) {
        *pOut = stack->top();
    } else {
        kmMat4Identity(pOut);
    }
}

void kmGLFreeAll() {
    MatrixState& s = state();
    s.modelView.reset();
    s.projection.reset();
    s.texture.reset();
    s.current = &s.modelView;
}

int kmGLStackDepth(kmGLEnum mode) {
    MatrixStack* stack = state().stackFor(mode);
    return stack ? static_cast<int>(stack->items.size()) : 0;
}
