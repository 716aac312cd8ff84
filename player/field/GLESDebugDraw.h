#pragma once

// Draws the shapes of the game field's Box2D world (outlines, filled shapes, circles, segments)
// with the engine's single-colour shader, 20 pixels per metre. Nothing is drawn without GL.

#include <box2d/box2d.h>

#include <vector>

namespace cocos2d {
class CCGLProgram;
}

class GLESDebugDraw : public b2Draw {
public:
    // Pixels per Box2D metre.
    static constexpr float kRatio = 20.0f;
    // Vertices of a drawn circle.
    static constexpr int kCircleSegments = 16;

    GLESDebugDraw();
    ~GLESDebugDraw() override;

    void DrawPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) override;
    void DrawSolidPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color) override;
    void DrawCircle(const b2Vec2& center, float radius, const b2Color& color) override;
    void DrawSolidCircle(const b2Vec2& center, float radius, const b2Vec2& axis,
                         const b2Color& color) override;
    void DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color) override;
    // Works out the ends of the two axes and draws nothing.
    void DrawTransform(const b2Transform& xf) override;
    void DrawPoint(const b2Vec2& p, float size, const b2Color& color) override;

private:
    // Scaled vertices, two floats each.
    static std::vector<float> scaled(const b2Vec2* vertices, int32 count);
    static std::vector<float> circle(const b2Vec2& center, float radius);
    void draw(unsigned int mode, const std::vector<float>& xy, float r, float g, float b, float a);

    cocos2d::CCGLProgram* m_program = nullptr;
    int m_colorLocation = -1;
    int m_pointSizeLocation = -1;
};
