// Render textures (capture through the model-view chain, upright display, state restored),
// a game fragment shader compiled against the engine's header, and drawing primitives.
#include "support/render_test_support.h"

using namespace cocos2d;
using kxtest::Rgba;

namespace {

class CaptureTest : public kxtest::RenderTest {
protected:
    CCSprite* halves() {
        // 4 x 4: upper half red, lower half blue.
        kxtest::PixelImage image(4, 4, {0, 0, 255, 255});
        image.fillRect(0, 0, 4, 2, {255, 0, 0, 255});
        EXPECT_TRUE(image.savePng(folder.file("halves.png")));
        return CCSprite::create(folder.file("halves.png").c_str());
    }
    static ccColor4B texel(const std::vector<unsigned char>& rgba, int width, int x, int y) {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
        return ccc4(rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]);
    }
};

} // namespace

TEST_F(CaptureTest, DesignPointsMapOntoTexels) {
    CCRenderTexture* target = CCRenderTexture::create(32, 32);
    ASSERT_NE(target, nullptr);
    CCSprite* sprite = halves();
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(CCPoint(6, 6)); // covers 4..7
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    target->beginWithClear(0, 0, 0, 0);
    sprite->visit();
    target->end();
    std::vector<unsigned char> rgba;
    ASSERT_TRUE(target->readPixels(&rgba));
    EXPECT_PIXEL(texel(rgba, 32, 4, 6), 255, 0, 0);
    EXPECT_PIXEL(texel(rgba, 32, 7, 4), 0, 0, 255);
    EXPECT_EQ(texel(rgba, 32, 8, 8).a, 0);
    EXPECT_EQ(texel(rgba, 32, 3, 3).a, 0);
}

TEST_F(CaptureTest, CaptureKeepsTheModelViewChainAndRestoresState) {
    CCRenderTexture* target = CCRenderTexture::create(32, 32);
    ASSERT_NE(target, nullptr);
    CCSprite* sprite = halves();
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(CCPoint(4, 0));
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    GLint viewportBefore[4];
    glGetIntegerv(GL_VIEWPORT, viewportBefore);
    kmMat4 modelViewBefore;
    kmGLGetMatrix(KM_GL_MODELVIEW, &modelViewBefore);

    kmGLPushMatrix();
    kmGLTranslatef(16, 16, 0);
    kmGLRotatef(90, 0, 0, 1); // counter-clockwise: (4, 0) goes to (0, 4)
    target->beginWithClear(0, 0, 0, 0);
    sprite->visit();
    target->end();
    kmGLPopMatrix();

    std::vector<unsigned char> rgba;
    ASSERT_TRUE(target->readPixels(&rgba));
    // Centre at (16, 20), turned a quarter counter-clockwise: red (the sprite's top) on the left.
    EXPECT_PIXEL(texel(rgba, 32, 14, 20), 255, 0, 0);
    EXPECT_PIXEL(texel(rgba, 32, 17, 20), 0, 0, 255);
    EXPECT_EQ(texel(rgba, 32, 16, 16).a, 0);

    GLint viewportAfter[4];
    glGetIntegerv(GL_VIEWPORT, viewportAfter);
    EXPECT_EQ(std::vector<GLint>(viewportBefore, viewportBefore + 4),
              std::vector<GLint>(viewportAfter, viewportAfter + 4));
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    kmMat4 modelViewAfter;
    kmGLGetMatrix(KM_GL_MODELVIEW, &modelViewAfter);
    EXPECT_TRUE(kmMat4AreEqual(&modelViewBefore, &modelViewAfter));
}

TEST_F(CaptureTest, RenderTextureShowsItsContentsUprightAndMirrorsWithScaleY) {
    CCRenderTexture* target = CCRenderTexture::create(32, 32);
    ASSERT_NE(target, nullptr);
    CCSprite* sprite = halves();
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(CCPoint(16, 16));
    sprite->setScale(2); // 8 x 8: red 16..19, blue 12..15
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    target->beginWithClear(0, 0, 0, 1);
    sprite->visit();
    target->end();

    target->setPosition(CCPoint(50, 50)); // texel (16, 16) lands on (50, 50)
    render({target});
    EXPECT_PIXEL(pixel(50, 52), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 47), 0, 0, 255);

    target->setScaleY(-1);
    render({target});
    EXPECT_PIXEL(pixel(50, 52), 0, 0, 255);
    EXPECT_PIXEL(pixel(50, 47), 255, 0, 0);
}

TEST_F(CaptureTest, InvalidSizesGiveNoRenderTexture) {
    EXPECT_EQ(CCRenderTexture::create(0, 10), nullptr);
    EXPECT_EQ(CCRenderTexture::create(10, -1), nullptr);
    EXPECT_EQ(CCRenderTexture::create(1 << 20, 4), nullptr);
}

TEST_F(CaptureTest, GameFragmentShaderCompilesAgainstTheHeader) {
    // Swaps red and green and uses the time uniform, as a game effect might.
    folder.write("Swap.fsh",
                 "#ifdef GL_ES\nprecision lowp float;\n#endif\n"
                 "varying vec4 v_fragmentColor;\nvarying vec2 v_texCoord;\nuniform sampler2D CC_Texture0;\n"
                 "uniform vec4 u_shadeColor;\n"
                 "void main() {\n"
                 "    lowp vec4 c = texture2D(CC_Texture0, v_texCoord);\n"
                 "    gl_FragColor = vec4(c.g, c.r, c.b, c.a) * v_fragmentColor * u_shadeColor\n"
                 "                   + 0.0 * CC_Time * CC_SinTime;\n"
                 "}\n");
    unsigned long size = 0;
    unsigned char* bytes =
        CCFileUtils::sharedFileUtils()->getFileData(folder.file("Swap.fsh").c_str(), "rt", &size);
    ASSERT_NE(bytes, nullptr);
    const std::string source(reinterpret_cast<char*>(bytes), size);
    delete[] bytes;

    CCGLProgram* program = new CCGLProgram();
    ASSERT_TRUE(program->initWithVertexShaderByteArray(ccPositionTextureA8Color_vert, source.c_str()))
        << program->fragmentShaderLog();
    // Only position and texture coordinates are bound by name; the colour must still arrive.
    program->addAttribute(kCCAttributeNamePosition, kCCVertexAttrib_Position);
    program->addAttribute(kCCAttributeNameTexCoord, kCCVertexAttrib_TexCoords);
    ASSERT_TRUE(program->link());
    program->updateUniforms();
    program->use();
    EXPECT_NE(program->getProgram(), 0u);
    program->setUniformLocationWith4f(program->getUniformLocationForName("u_shadeColor"), 1.f, 0.5f, 1.f,
                                      1.f);

    CCSprite* sprite = CCSprite::create(solidPng("red.png", 8, 8, {255, 0, 0, 255}).c_str());
    ASSERT_NE(sprite, nullptr);
    sprite->setShaderProgram(program);
    program->release();
    sprite->setPosition(CCPoint(50, 50));
    render({sprite});
    EXPECT_PIXEL(pixel(50, 50), 0, 128, 0);

    CCGLProgram* broken = new CCGLProgram();
    EXPECT_FALSE(
        broken->initWithVertexShaderByteArray(ccPositionTextureA8Color_vert, "void main() { nonsense; }"));
    EXPECT_FALSE(broken->link());
    broken->release();
}

TEST_F(CaptureTest, BuiltinProgramsExistUnderTheirKeys) {
    for (const char* key : {"ShaderPositionTextureColor", "ShaderPositionTextureColorAlphaTest",
                            "ShaderPositionColor", "ShaderPositionTexture", "ShaderPositionTexture_uColor",
                            "ShaderPositionTextureA8Color", "ShaderPosition_uColor"}) {
        CCGLProgram* program = CCShaderCache::sharedShaderCache()->programForKey(key);
        ASSERT_NE(program, nullptr) << key;
        EXPECT_NE(program->getProgram(), 0u) << key;
    }
    EXPECT_EQ(CCShaderCache::sharedShaderCache()->programForKey("ShaderNothing"), nullptr);
}

TEST_F(CaptureTest, UColorProgramDrawsWithTheGamesOwnCalls) {
    // The way game code draws a flat quad: the uColor program, premultiplied colour, raw GL.
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    CCGLProgram* program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_Position_uColor);
    ASSERT_NE(program, nullptr);
    program->use();
    program->setUniformsForBuiltins();
    program->setUniformLocationWith4f(program->getUniformLocationForName("u_color"), 0.5f, 0.f, 0.f, 0.5f);
    ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position);
    const GLfloat quad[] = {10, 10, 30, 10, 10, 30, 30, 30};
    glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, quad);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    ccDrawSolidRect(CCPoint(60, 60), CCPoint(80, 80), ccc4f(0, 0, 1, 1));
    ccDrawColor4B(0, 255, 0, 255);
    ccDrawLine(CCPoint(0, 90.5f), CCPoint(100, 90.5f));
    glFinish();
    EXPECT_PIXEL(pixel(20, 20), 128, 0, 0);
    EXPECT_PIXEL(pixel(70, 70), 0, 0, 255);
    EXPECT_PIXEL(pixel(50, 90), 0, 255, 0);
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 0);
}
