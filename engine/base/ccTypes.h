// Colours and the small vertex and blend records used by drawing code.
#pragma once

#include <GL/glew.h>

#include "base/ccMacros.h"

NS_CC_BEGIN

typedef struct _ccColor3B {
    GLubyte r;
    GLubyte g;
    GLubyte b;
} ccColor3B;

typedef struct _ccColor4B {
    GLubyte r;
    GLubyte g;
    GLubyte b;
    GLubyte a;
} ccColor4B;

typedef struct _ccColor4F {
    GLfloat r;
    GLfloat g;
    GLfloat b;
    GLfloat a;
} ccColor4F;

inline ccColor3B ccc3(GLubyte r, GLubyte g, GLubyte b) {
    return ccColor3B{r, g, b};
}
inline ccColor4B ccc4(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    return ccColor4B{r, g, b, a};
}
inline ccColor4F ccc4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    return ccColor4F{r, g, b, a};
}

inline bool ccc3BEqual(const ccColor3B& a, const ccColor3B& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
inline bool ccc4BEqual(const ccColor4B& a, const ccColor4B& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
inline bool ccc4FEqual(const ccColor4F& a, const ccColor4F& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// Channel conversions: bytes map 0..255 onto 0..1.
inline ccColor4F ccc4FFromccc3B(const ccColor3B& c) {
    return ccColor4F{c.r / 255.f, c.g / 255.f, c.b / 255.f, 1.f};
}
inline ccColor4F ccc4FFromccc4B(const ccColor4B& c) {
    return ccColor4F{c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f};
}
inline ccColor4B ccc4BFromccc3B(const ccColor3B& c) {
    return ccColor4B{c.r, c.g, c.b, 255};
}
ccColor4B ccc4BFromccc4F(const ccColor4F& c);

extern const ccColor3B ccWHITE;
extern const ccColor3B ccYELLOW;
extern const ccColor3B ccBLUE;
extern const ccColor3B ccGREEN;
extern const ccColor3B ccRED;
extern const ccColor3B ccMAGENTA;
extern const ccColor3B ccBLACK;
extern const ccColor3B ccORANGE;
extern const ccColor3B ccGRAY;

typedef struct _ccVertex2F {
    GLfloat x;
    GLfloat y;
} ccVertex2F;

typedef struct _ccVertex3F {
    GLfloat x;
    GLfloat y;
    GLfloat z;
} ccVertex3F;

typedef struct _ccTex2F {
    GLfloat u;
    GLfloat v;
} ccTex2F;

inline ccVertex2F vertex2(float x, float y) {
    return ccVertex2F{x, y};
}
inline ccVertex3F vertex3(float x, float y, float z) {
    return ccVertex3F{x, y, z};
}
inline ccTex2F tex2(float u, float v) {
    return ccTex2F{u, v};
}

typedef struct _ccV2F_C4B_T2F {
    ccVertex2F vertices;
    ccColor4B colors;
    ccTex2F texCoords;
} ccV2F_C4B_T2F;

typedef struct _ccV3F_C4B_T2F {
    ccVertex3F vertices;
    ccColor4B colors;
    ccTex2F texCoords;
} ccV3F_C4B_T2F;

// Corners of a textured quad: top left, bottom left, top right, bottom right.
typedef struct _ccV3F_C4B_T2F_Quad {
    ccV3F_C4B_T2F tl;
    ccV3F_C4B_T2F bl;
    ccV3F_C4B_T2F tr;
    ccV3F_C4B_T2F br;
} ccV3F_C4B_T2F_Quad;

typedef struct _ccBlendFunc {
    GLenum src;
    GLenum dst;
} ccBlendFunc;

NS_CC_END
