#include <GL/glew.h>

#include "renderer/CCDrawingPrimitives.h"

#include <cmath>
#include <vector>

#include "renderer/CCGLContext.h"
#include "renderer/CCGLProgram.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/CCShaderCache.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"

NS_CC_BEGIN

namespace {

ccColor4F g_color = {1.f, 1.f, 1.f, 1.f};
GLfloat g_pointSize = 1.f;
// Segment counts beyond this are clamped, so a bad argument cannot exhaust memory.
constexpr unsigned int kMaxVertices = 1u << 16;

CCGLProgram* primitiveProgram() {
    return CCShaderCache::sharedShaderCache()->programForKey(kCCShader_Position_uColor);
}

void drawVertices(GLenum mode, const std::vector<GLfloat>& xy, const ccColor4F& color) {
    CCGLProgram* program = primitiveProgram();
    if (!ccGLContextReady() || !program || xy.size() < 2)
        return;
    // Quads batched so far lie below this drawing.
    ccDrawFlush();
    program->use();
    program->setUniformsForBuiltins();
    program->setUniformLocationWith4f(program->getUniformLocationForName("u_color"), color.r, color.g,
                                      color.b, color.a);
    program->setUniformLocationWith1f(program->getUniformLocationForName("u_pointSize"), g_pointSize);
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, xy.data());
    if (mode == GL_POINTS)
        glEnable(GL_PROGRAM_POINT_SIZE);
    glDrawArrays(mode, 0, static_cast<GLsizei>(xy.size() / 2));
    CC_INCREMENT_GL_DRAWS(1);
}

std::vector<GLfloat> flatten(const CCPoint* points, unsigned int count) {
    std::vector<GLfloat> xy;
    if (!points)
        return xy;
    count = count > kMaxVertices ? kMaxVertices : count;
    xy.reserve(count * 2u);
    for (unsigned int i = 0; i < count; ++i) {
        xy.push_back(points[i].x);
        xy.push_back(points[i].y);
    }
    return xy;
}

std::vector<GLfloat> circle(const CCPoint& center, float radius, float angle, unsigned int segments) {
    segments = segments == 0 ? 1 : (segments > kMaxVertices ? kMaxVertices : segments);
    std::vector<GLfloat> xy;
    xy.reserve((segments + 1u) * 2u);
    const float step = 2.f * static_cast<float>(M_PI) / static_cast<float>(segments);
    for (unsigned int i = 0; i <= segments; ++i) {
        const float a = step * static_cast<float>(i) + angle;
        xy.push_back(center.x + radius * std::cos(a));
        xy.push_back(center.y + radius * std::sin(a));
    }
    return xy;
}

} // namespace

void ccDrawInit() {
    CCShaderCache::sharedShaderCache();
}
void ccDrawFree() {}

void ccDrawColor4F(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    g_color = {r, g, b, a};
}
void ccDrawColor4B(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    g_color = {r / 255.f, g / 255.f, b / 255.f, a / 255.f};
}
void ccPointSize(GLfloat pointSize) {
    g_pointSize = pointSize;
}

void ccDrawPoint(const CCPoint& point) {
    drawVertices(GL_POINTS, flatten(&point, 1), g_color);
}

void ccDrawPoints(const CCPoint* points, unsigned int numberOfPoints) {
    drawVertices(GL_POINTS, flatten(points, numberOfPoints), g_color);
}

void ccDrawLine(const CCPoint& origin, const CCPoint& destination) {
    const CCPoint points[2] = {origin, destination};
    drawVertices(GL_LINES, flatten(points, 2), g_color);
}

void ccDrawRect(CCPoint origin, CCPoint destination) {
    const CCPoint points[4] = {origin, CCPoint(destination.x, origin.y), destination,
                               CCPoint(origin.x, destination.y)};
    drawVertices(GL_LINE_LOOP, flatten(points, 4), g_color);
}

void ccDrawSolidRect(CCPoint origin, CCPoint destination, ccColor4F color) {
    const CCPoint points[4] = {origin, CCPoint(destination.x, origin.y), destination,
                               CCPoint(origin.x, destination.y)};
    drawVertices(GL_TRIANGLE_FAN, flatten(points, 4), color);
}

void ccDrawPoly(const CCPoint* vertices, unsigned int numOfVertices, bool closePolygon) {
    drawVertices(closePolygon ? GL_LINE_LOOP : GL_LINE_STRIP, flatten(vertices, numOfVertices), g_color);
}

void ccDrawSolidPoly(const CCPoint* poli, unsigned int numberOfPoints, ccColor4F color) {
    drawVertices(GL_TRIANGLE_FAN, flatten(poli, numberOfPoints), color);
}

void ccDrawCircle(const CCPoint& center, float radius, float angle, unsigned int segments,
                  bool drawLineToCenter) {
    std::vector<GLfloat> xy = circle(center, radius, angle, segments);
    if (drawLineToCenter) {
        xy.push_back(center.x);
        xy.push_back(center.y);
    }
    drawVertices(GL_LINE_STRIP, xy, g_color);
}

void ccDrawSolidCircle(const CCPoint& center, float radius, float angle, unsigned int segments) {
    drawVertices(GL_TRIANGLE_FAN, circle(center, radius, angle, segments), g_color);
}

void ccDrawQuadBezier(const CCPoint& origin, const CCPoint& control, const CCPoint& destination,
                      unsigned int segments) {
    segments = segments == 0 ? 1 : (segments > kMaxVertices ? kMaxVertices : segments);
    std::vector<GLfloat> xy;
    xy.reserve((segments + 1u) * 2u);
    for (unsigned int i = 0; i <= segments; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(segments);
        const float u = 1.f - t;
        xy.push_back(u * u * origin.x + 2.f * u * t * control.x + t * t * destination.x);
        xy.push_back(u * u * origin.y + 2.f * u * t * control.y + t * t * destination.y);
    }
    drawVertices(GL_LINE_STRIP, xy, g_color);
}

NS_CC_END
