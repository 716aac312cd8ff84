#include <GL/glew.h>

#include "player/field/GLESDebugDraw.h"

#include "cocos2d.h"
#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"

#include <cmath>

using namespace cocos2d;

GLESDebugDraw::GLESDebugDraw() {
    m_program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_Position_uColor);
    if (m_program != nullptr) {
        m_program->retain();
        m_colorLocation = m_program->getUniformLocationForName("u_color");
        m_pointSizeLocation = m_program->getUniformLocationForName("u_pointSize");
    }
}

GLESDebugDraw::~GLESDebugDraw() {
    CC_SAFE_RELEASE(m_program);
}

std::vector<float> GLESDebugDraw::scaled(const b2Vec2* vertices, int32 count) {
    std::vector<float> xy;
    if (vertices == nullptr || count <= 0) {
        return xy;
    }
    xy.reserve(static_cast<size_t>(count) * 2u);
    for (int32 i = 0; i < count; ++i) {
        xy.push_back(vertices[i].x * kRatio);
        xy.push_back(vertices[i].y * kRatio);
    }
    return xy;
}

std::vector<float> GLESDebugDraw::circle(const b2Vec2& center, float radius) {
    std::vector<float> xy;
    xy.reserve(kCircleSegments * 2);
    const float step = 2.0f * b2_pi / kCircleSegments;
    for (int i = 0; i < kCircleSegments; ++i) {
        const float theta = step * static_cast<float>(i);
        xy.push_back((center.x + radius * std::cos(theta)) * kRatio);
        xy.push_back((center.y + radius * std::sin(theta)) * kRatio);
    }
    return xy;
}

void GLESDebugDraw::draw(unsigned int mode, const std::vector<float>& xy, float r, float g, float b,
                         float a) {
    if (m_program == nullptr || !ccGLContextReady() || xy.size() < 2) {
        return;
    }
    // Sprites batched earlier in the frame are drawn first, so these lines lie above them.
    ccDrawFlush();
    m_program->use();
    m_program->setUniformsForBuiltins();
    m_program->setUniformLocationWith4f(m_colorLocation, r, g, b, a);
    if (mode == GL_POINTS) {
        glEnable(GL_PROGRAM_POINT_SIZE);
    }
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, xy.data());
    glDrawArrays(mode, 0, static_cast<GLsizei>(xy.size() / 2));
    CC_INCREMENT_GL_DRAWS(1);
}

void GLESDebugDraw::DrawPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) {
    draw(GL_LINE_LOOP, scaled(vertices, vertexCount), color.r, color.g, color.b, 1.0f);
}

void GLESDebugDraw::DrawSolidPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) {
    const std::vector<float> xy = scaled(vertices, vertexCount);
    draw(GL_TRIANGLE_FAN, xy, color.r * 0.5f, color.g * 0.5f, color.b * 0.5f, 0.5f);
    draw(GL_LINE_LOOP, xy, color.r, color.g, color.b, 1.0f);
}

void GLESDebugDraw::DrawCircle(const b2Vec2& center, float radius, const b2Color& color) {
    draw(GL_LINE_LOOP, circle(center, radius), color.r, color.g, color.b, 1.0f);
}

void GLESDebugDraw::DrawSolidCircle(const b2Vec2& center, float radius, const b2Vec2& axis,
                                    const b2Color& color) {
    const std::vector<float> xy = circle(center, radius);
    draw(GL_TRIANGLE_FAN, xy, color.r * 0.5f, color.g * 0.5f, color.b * 0.5f, 0.5f);
    draw(GL_LINE_LOOP, xy, color.r, color.g, color.b, 1.0f);
    DrawSegment(center, center + radius * axis, color);
}

void GLESDebugDraw::DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color) {
    const b2Vec2 ends[2] = {p1, p2};
    draw(GL_LINES, scaled(ends, 2), color.r, color.g, color.b, 1.0f);
}

void GLESDebugDraw::DrawTransform(const b2Transform& xf) {
    // The axis ends are worked out as the interface expects, but no axes are drawn.
    const float axisScale = 0.4f;
    const b2Vec2 xAxis = xf.p + axisScale * xf.q.GetXAxis();
    const b2Vec2 yAxis = xf.p + axisScale * xf.q.GetYAxis();
    (void)xAxis;
    (void)yAxis;
}

void GLESDebugDraw::DrawPoint(const b2Vec2& p, float size, const b2Color& color) {
    if (m_program != nullptr && ccGLContextReady()) {
        m_program->use();
        m_program->setUniformLocationWith1f(m_pointSizeLocation, size);
    }
    draw(GL_POINTS, scaled(&p, 1), color.r, color.g, color.b, color.a);
}
