// Matrix helpers and the model-view / projection stacks.
#include <gtest/gtest.h>

#include <cmath>

#include "kazmath/kazmath.h"

namespace {

void expectPoint(const kmMat4& m, float x, float y, float ex, float ey) {
    float out[3];
    kmMat4TransformPoint(&m, x, y, 0.0f, out);
    EXPECT_NEAR(out[0], ex, 1e-4f);
    EXPECT_NEAR(out[1], ey, 1e-4f);
}

class MatrixStackTest : public ::testing::Test {
protected:
    void SetUp() override { kmGLFreeAll(); }
    void TearDown() override { kmGLFreeAll(); }
};

} // namespace

TEST(Mat4, ColumnMajorTranslationAndComposition) {
    kmMat4 t;
    kmMat4Translation(&t, 3.0f, 4.0f, 0.0f);
    EXPECT_FLOAT_EQ(t.mat[12], 3.0f);
    EXPECT_FLOAT_EQ(t.mat[13], 4.0f);

    // M1 * M2 applies M2 first: scale by 2, then move by (3, 4).
    kmMat4 s, m;
    kmMat4Scaling(&s, 2.0f, 2.0f, 1.0f);
    kmMat4Multiply(&m, &t, &s);
    expectPoint(m, 1.0f, 1.0f, 5.0f, 6.0f);
    kmMat4Multiply(&m, &s, &t);
    expectPoint(m, 1.0f, 1.0f, 8.0f, 10.0f);

    // Aliasing the output with an input.
    kmMat4Multiply(&t, &t, &s);
    expectPoint(t, 1.0f, 1.0f, 5.0f, 6.0f);
}

TEST(Mat4, RotationZIsCounterClockwise) {
    kmMat4 r;
    kmMat4RotationZ(&r, static_cast<float>(M_PI / 2.0));
    expectPoint(r, 1.0f, 0.0f, 0.0f, 1.0f);
}

TEST(Mat4, InverseUndoesAndSingularIsRefused) {
    kmMat4 t, r, s, m, tmp, inv, id;
    kmMat4Translation(&t, 10.0f, -5.0f, 0.0f);
    kmMat4RotationZ(&r, 0.5f);
    kmMat4Scaling(&s, 2.0f, 3.0f, 1.0f);
    kmMat4Multiply(&tmp, &r, &s);
    kmMat4Multiply(&m, &t, &tmp);
    ASSERT_NE(kmMat4Inverse(&inv, &m), nullptr);
    kmMat4Multiply(&tmp, &inv, &m);
    EXPECT_TRUE(kmMat4AreEqual(&tmp, kmMat4Identity(&id)));

    kmMat4 zero;
    kmMat4Scaling(&zero, 0.0f, 1.0f, 1.0f);
    kmMat4 untouched;
    kmMat4Translation(&untouched, 1.0f, 2.0f, 3.0f);
    EXPECT_EQ(kmMat4Inverse(&untouched, &zero), nullptr);
    EXPECT_FLOAT_EQ(untouched.mat[12], 1.0f);
}

TEST(Mat4, OrthographicMapsTheWindowToClipSpace) {
    kmMat4 p;
    kmMat4OrthographicProjection(&p, 0.0f, 1000.0f, 0.0f, 500.0f, -1024.0f, 1024.0f);
    expectPoint(p, 0.0f, 0.0f, -1.0f, -1.0f);
    expectPoint(p, 1000.0f, 500.0f, 1.0f, 1.0f);
    expectPoint(p, 500.0f, 250.0f, 0.0f, 0.0f);
}

TEST_F(MatrixStackTest, PushMultiplyPopRestores) {
    kmGLMatrixMode(KM_GL_MODELVIEW);
    kmGLLoadIdentity();
    kmGLTranslatef(100.0f, 50.0f, 0.0f);
    kmGLPushMatrix();
    EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), 2);
    kmGLRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    kmGLScalef(2.0f, 2.0f, 1.0f);

    kmMat4 top;
    kmGLGetMatrix(KM_GL_MODELVIEW, &top);
    // (1, 0) -> scaled (2, 0) -> rotated ccw (0, 2) -> moved (100, 52).
    expectPoint(top, 1.0f, 0.0f, 100.0f, 52.0f);

    kmGLPopMatrix();
    kmGLGetMatrix(KM_GL_MODELVIEW, &top);
    expectPoint(top, 1.0f, 0.0f, 101.0f, 50.0f);
    EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), 1);
}

TEST_F(MatrixStackTest, ModesAreSeparateAndUnderflowIsHarmless) {
    kmGLMatrixMode(KM_GL_PROJECTION);
    kmGLScalef(3.0f, 3.0f, 1.0f);
    kmGLMatrixMode(0x1234); // unknown: stays on the projection
    kmGLTranslatef(1.0f, 0.0f, 0.0f);

    kmMat4 projection, modelView;
    kmGLGetMatrix(KM_GL_PROJECTION, &projection);
    kmGLGetMatrix(KM_GL_MODELVIEW, &modelView);
    expectPoint(projection, 0.0f, 0.0f, 3.0f, 0.0f);
    expectPoint(modelView, 2.0f, 2.0f, 2.0f, 2.0f);

    kmGLPopMatrix();
    kmGLPopMatrix();
    EXPECT_EQ(kmGLStackDepth(KM_GL_PROJECTION), 1);
    kmGLGetMatrix(KM_GL_PROJECTION, &projection);
    expectPoint(projection, 7.0f, 8.0f, 7.0f, 8.0f);
}

TEST(TransformUtils, AffineRoundTripsThroughGL) {
    const cocos2d::CCAffineTransform t = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    kmMat4 m;
    cocos2d::CGAffineToGL(&t, m.mat);
    // x' = a x + c y + tx: (1, 1) -> (1 + 3 + 5, 2 + 4 + 6).
    expectPoint(m, 1.0f, 1.0f, 9.0f, 12.0f);
    EXPECT_FLOAT_EQ(m.mat[10], 1.0f);
    EXPECT_FLOAT_EQ(m.mat[15], 1.0f);

    cocos2d::CCAffineTransform back = {};
    cocos2d::GLToCGAffine(m.mat, &back);
    EXPECT_FLOAT_EQ(back.c, 3.0f);
    EXPECT_FLOAT_EQ(back.ty, 6.0f);
}
