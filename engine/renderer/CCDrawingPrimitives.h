// Immediate drawing of points, lines, rectangles, polygons and circles in the current
// model-view space, with one colour (premultiply it yourself for blended drawing).
#pragma once

#include "base/CCGeometry.h"
#include "base/ccTypes.h"

NS_CC_BEGIN

void ccDrawInit();
void ccDrawFree();

void ccDrawColor4F(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void ccDrawColor4B(GLubyte r, GLubyte g, GLubyte b, GLubyte a);
void ccPointSize(GLfloat pointSize);

void ccDrawPoint(const CCPoint& point);
void ccDrawPoints(const CCPoint* points, unsigned int numberOfPoints);
void ccDrawLine(const CCPoint& origin, const CCPoint& destination);
void ccDrawRect(CCPoint origin, CCPoint destination);
void ccDrawSolidRect(CCPoint origin, CCPoint destination, ccColor4F color);
void ccDrawPoly(const CCPoint* vertices, unsigned int numOfVertices, bool closePolygon);
void ccDrawSolidPoly(const CCPoint* poli, unsigned int numberOfPoints, ccColor4F color);
void ccDrawCircle(const CCPoint& center, float radius, float angle, unsigned int segments,
                  bool drawLineToCenter);
void ccDrawSolidCircle(const CCPoint& center, float radius, float angle, unsigned int segments);
void ccDrawQuadBezier(const CCPoint& origin, const CCPoint& control, const CCPoint& destination,
                      unsigned int segments);

NS_CC_END
