// The frame-wide quad batch: one draw per run of quads that share texture, program and blend;
// the drawing order kept across texture switches; colour and opacity per quad; flushes before
// primitives, the game's own GL draws, uniform changes, render textures and the frame's end;
// quads placed through nested transforms.
#include "support/render_test_support.h"

#include <map>

using namespace cocos2d;
using kxtest::Rgba;

namespace {

// A node that draws a flat rectangle the way game code does: its own program, raw GL.
class OwnGLRect : public CCNode {
public:
    CCRect rect;
    ccColor4F colour{0, 1, 0, 1};
    void draw() override {
        CCGLProgram* program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_Position_uColor);
        program->use();
        program->setUniformsForBuiltins();
        program->setUniformLocationWith4f(program->getUniformLocationForName("u_color"), colour.r, colour.g,
                                          colour.b, colour.a);
        ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position);
        const GLfloat xy[] = {rect.getMinX(), rect.getMinY(), rect.getMaxX(), rect.getMinY(),
                              rect.getMinX(), rect.getMaxY(), rect.getMaxX(), rect.getMaxY()};
        glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, xy);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
};

class PrimitiveRect : public CCNode {
public:
    void draw() override { ccDrawSolidRect(CCPoint(40, 40), CCPoint(60, 60), ccc4f(0, 1, 0, 1)); }
};

// A sprite whose program takes a tint uniform that it sets just before it draws.
class TintedSprite : public CCSprite {
public:
    ccColor4F tint{1, 1, 1, 1};
    void draw() override {
        CCGLProgram* program = getShaderProgram();
        program->setUniformLocationWith4f(program->getUniformLocationForName("u_tint"), tint.r, tint.g,
                                          tint.b, tint.a);
        CCSprite::draw();
    }
};

// Pushes a model-view matrix with w = 2, which halves every position after the divide.
class HomogeneousScale : public CCNode {
public:
    void visit() override {
        kmGLPushMatrix();
        kmMat4 m;
        kmMat4Identity(&m);
        m.mat[15] = 2.f;
        kmGLMultMatrix(&m);
        CCNode::visit();
        kmGLPopMatrix();
    }
};

// A view for the director that clears through the real view but, instead of swapping, notes
// the draw count and reads pixel (40, 50) with plain GL (which draws nothing that waits).
class SwapRecorder : public CCEGLViewProtocol {
public:
    explicit SwapRecorder(CCEGLView* real) : m_real(real) {
        setRenderingEnabled(true);
        setFrameSize(real->getFrameSize().width, real->getFrameSize().height);
        setDesignResolutionSize(real->getFrameSize().width, real->getFrameSize().height, kResolutionExactFit);
    }
    void beginFrame() override { m_real->beginFrame(); }
    void swapBuffers() override {
        ++swaps;
        drawsAtSwap = g_uNumberOfDraws;
        glReadPixels(40, 50, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixelAtSwap);
    }
    int swaps = 0;
    unsigned int drawsAtSwap = 0;
    ccColor4B pixelAtSwap{0, 0, 0, 0};

private:
    CCEGLView* m_real;
};

class QuadBatch : public kxtest::RenderTest {
protected:
    void TearDown() override {
        CCTextureCache::sharedTextureCache()->removeAllTextures();
        kxtest::RenderTest::TearDown();
    }

    std::map<std::string, CCTexture2D*> m_textures; // owned by the texture cache

    // A w x h sprite of one colour centred on (x, y); sprites of one name share a texture.
    CCSprite* sprite(const std::string& name, Rgba colour, float x, float y, float w, float h) {
        CCTexture2D*& texture = m_textures[name];
        if (!texture)
            texture =
                CCTextureCache::sharedTextureCache()->addImage(solidPng(name + ".png", 4, 4, colour).c_str());
        CCSprite* s = CCSprite::createWithTexture(texture, CCRect(0, 0, w, h));
        EXPECT_NE(s, nullptr);
        s->setPosition(CCPoint(x, y));
        return s;
    }

    // Renders the nodes as one frame and returns the draw calls it took.
    unsigned int drawsToRender(std::initializer_list<CCNode*> nodes) {
        render(nodes);
        ccDrawFlush();
        return g_uNumberOfDraws;
    }
};

const Rgba kRed = {255, 0, 0, 255};
const Rgba kBlue = {0, 0, 255, 255};
const Rgba kWhite = {255, 255, 255, 255};

} // namespace

TEST_F(QuadBatch, OneDrawPerRunAndTheOrderKeptAcrossTextureSwitches) {
    CCNode* many = CCNode::create();
    for (int i = 0; i < 30; ++i)
        many->addChild(sprite("red", kRed, 5.f + 3 * i, 90, 2, 2));
    EXPECT_EQ(drawsToRender({many}), 1u);
    EXPECT_PIXEL(pixel(92, 90), 255, 0, 0);

    // red (20..39), blue (30..49), red again (40..59): three runs, each over the one before.
    CCSprite* first = sprite("red", kRed, 30, 50, 20, 20);
    CCSprite* middle = sprite("blue", kBlue, 40, 50, 20, 20);
    CCSprite* last = sprite("red", kRed, 50, 50, 20, 20);
    EXPECT_EQ(drawsToRender({first, middle, last}), 3u);
    EXPECT_PIXEL(pixel(25, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(35, 50), 0, 0, 255);
    EXPECT_PIXEL(pixel(45, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(55, 50), 255, 0, 0);

    // One texture, but the blend or the program changes in the middle: three runs.
    middle->setTexture(first->getTexture());
    middle->setBlendFunc(ccBlendFunc{GL_ONE, GL_ONE});
    EXPECT_EQ(drawsToRender({first, middle, last}), 3u);
    middle->setBlendFunc(ccBlendFunc{CC_BLEND_SRC, CC_BLEND_DST});
    EXPECT_EQ(drawsToRender({first, middle, last}), 1u);
    middle->setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTexture));
    EXPECT_EQ(drawsToRender({first, middle, last}), 3u);
    EXPECT_PIXEL(pixel(35, 50), 255, 0, 0);
}

TEST_F(QuadBatch, EveryQuadKeepsItsColourAndOpacity) {
    CCSprite* red = sprite("white", kWhite, 20, 20, 10, 10);
    red->setColor(ccc3(255, 0, 0));
    CCSprite* green = sprite("white", kWhite, 50, 20, 10, 10);
    green->setColor(ccc3(0, 255, 0));
    CCSprite* under = sprite("white", kWhite, 50, 60, 20, 20);
    under->setColor(ccc3(0, 0, 255));
    CCSprite* halfWhite = sprite("white", kWhite, 55, 60, 10, 10);
    halfWhite->setOpacity(128);
    CCSprite* invisible = sprite("white", kWhite, 20, 60, 10, 10);
    invisible->setOpacity(0);
    EXPECT_EQ(drawsToRender({red, green, under, halfWhite, invisible}), 1u);
    EXPECT_PIXEL(pixel(20, 20), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 20), 0, 255, 0);
    EXPECT_PIXEL(pixel(45, 60), 0, 0, 255);
    // Premultiplied half white over blue: 128 + 255 * 127 / 255.
    EXPECT_PIXEL(pixel(57, 60), 128, 128, 255);
    EXPECT_PIXEL(pixel(20, 60), 0, 0, 0);
}

TEST_F(QuadBatch, PrimitivesAndTheGamesOwnDrawsComeBetweenTheQuadsAroundThem) {
    // red (20..79), green primitive (40..59), red of the same texture again (50..59).
    CCSprite* below = sprite("red", kRed, 50, 50, 60, 60);
    PrimitiveRect* primitive = new PrimitiveRect();
    primitive->autorelease();
    CCSprite* above = sprite("red", kRed, 55, 55, 10, 10);
    EXPECT_EQ(drawsToRender({below, primitive, above}), 3u);
    EXPECT_PIXEL(pixel(30, 30), 255, 0, 0);
    EXPECT_PIXEL(pixel(45, 45), 0, 255, 0);
    EXPECT_PIXEL(pixel(57, 57), 255, 0, 0);

    // The same with a node that draws through its program and glDrawArrays; it counts no
    // draw of its own, so only the two runs around it are counted.
    OwnGLRect* own = new OwnGLRect();
    own->autorelease();
    own->rect = CCRect(40, 40, 20, 20);
    EXPECT_EQ(drawsToRender({below, own, above}), 2u);
    EXPECT_PIXEL(pixel(30, 30), 255, 0, 0);
    EXPECT_PIXEL(pixel(45, 45), 0, 255, 0);
    EXPECT_PIXEL(pixel(57, 57), 255, 0, 0);
}

TEST_F(QuadBatch, AUniformSetBetweenQuadsOfOneProgramAppliesOnlyToTheLaterOnes) {
    CCGLProgram* program = new CCGLProgram();
    ASSERT_TRUE(program->initWithVertexShaderByteArray(
        ccPositionTextureColor_vert,
        "varying vec4 v_fragmentColor;\nvarying vec2 v_texCoord;\n"
        "uniform sampler2D CC_Texture0;\nuniform vec4 u_tint;\n"
        "void main() {\n"
        "    gl_FragColor = texture2D(CC_Texture0, v_texCoord) * v_fragmentColor * u_tint;\n"
        "}\n"))
        << program->fragmentShaderLog();
    program->addAttribute(kCCAttributeNamePosition, kCCVertexAttrib_Position);
    program->addAttribute(kCCAttributeNameColor, kCCVertexAttrib_Color);
    program->addAttribute(kCCAttributeNameTexCoord, kCCVertexAttrib_TexCoords);
    ASSERT_TRUE(program->link());
    program->updateUniforms();

    TintedSprite* sprites[2];
    for (int i = 0; i < 2; ++i) {
        sprites[i] = new TintedSprite();
        sprites[i]->autorelease();
        ASSERT_TRUE(sprites[i]->initWithFile(solidPng("white.png", 4, 4, kWhite).c_str()));
        sprites[i]->setTextureRect(CCRect(0, 0, 10, 10));
        sprites[i]->setPosition(CCPoint(30.f + 40 * i, 50));
        sprites[i]->setShaderProgram(program);
    }
    program->release();
    sprites[0]->tint = ccc4f(1, 0, 0, 1);
    sprites[1]->tint = ccc4f(0, 0, 1, 1);
    render({sprites[0], sprites[1]});
    EXPECT_PIXEL(pixel(30, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(70, 50), 0, 0, 255);
}

TEST_F(QuadBatch, RenderTextureGetsOnlyWhatIsDrawnBetweenBeginAndEnd) {
    CCRenderTexture* target = CCRenderTexture::create(10, 10);
    ASSERT_NE(target, nullptr);
    CCSprite* before = sprite("red", kRed, 50, 50, 20, 20);
    CCSprite* inside = sprite("red", kRed, 5, 5, 4, 4);
    CCSprite* after = sprite("red", kRed, 20, 20, 6, 6);

    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    before->visit();
    target->beginWithClear(0, 0, 1, 1);
    inside->visit();
    target->end();
    after->visit();
    std::vector<unsigned char> texels;
    ASSERT_TRUE(target->readPixels(&texels));
    // The screen: the sprites before and after, nothing of the one inside.
    EXPECT_PIXEL(pixel(50, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(20, 20), 255, 0, 0);
    EXPECT_PIXEL(pixel(5, 5), 0, 0, 0);
    // The texture: its clear colour and the sprite inside (texels 3..6), nothing else.
    auto texel = [&](int x, int y) {
        const size_t i = static_cast<size_t>(y * 10 + x) * 4;
        return ccc4(texels[i], texels[i + 1], texels[i + 2], texels[i + 3]);
    };
    EXPECT_PIXEL(texel(5, 5), 255, 0, 0);
    EXPECT_PIXEL(texel(1, 1), 0, 0, 255);
    EXPECT_PIXEL(texel(8, 8), 0, 0, 255);
}

TEST_F(QuadBatch, NestedTransformsPlaceEveryQuad) {
    // (50, 50), turned 90 degrees clockwise, doubled: its (x, y) lands on (50 + 2y, 50 - 2x).
    CCNode* parent = CCNode::create();
    parent->setPosition(CCPoint(50, 50));
    parent->setRotation(90);
    parent->setScale(2);
    parent->addChild(sprite("red", kRed, 10, 0, 4, 4)); // centre (50, 30), 8 x 8
    CCNode* halved = CCNode::create();
    halved->setPosition(CCPoint(-10, 5));
    halved->setScale(0.5f);
    halved->addChild(sprite("blue", kBlue, 0, 0, 8, 8)); // (-10, 5): centre (60, 70), 8 x 8
    parent->addChild(halved);
    EXPECT_EQ(drawsToRender({parent}), 2u);
    EXPECT_PIXEL(pixel(47, 27), 255, 0, 0);
    EXPECT_PIXEL(pixel(52, 33), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 36), 0, 0, 0);
    EXPECT_PIXEL(pixel(57, 67), 0, 0, 255);
    EXPECT_PIXEL(pixel(62, 73), 0, 0, 255);
    EXPECT_PIXEL(pixel(50, 70), 0, 0, 0);
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 0);

    // A matrix with w = 2 cannot be applied on the CPU and still draws where GL puts it.
    HomogeneousScale* homogeneous = new HomogeneousScale();
    homogeneous->autorelease();
    homogeneous->addChild(sprite("red", kRed, 80, 80, 10, 10)); // (40, 40), 5 x 5
    CCSprite* plain = sprite("red", kRed, 80, 80, 4, 4);
    render({homogeneous, plain});
    EXPECT_PIXEL(pixel(40, 40), 255, 0, 0);
    EXPECT_PIXEL(pixel(44, 44), 0, 0, 0);
    EXPECT_PIXEL(pixel(80, 80), 255, 0, 0);
    EXPECT_PIXEL(pixel(84, 84), 0, 0, 0);
}

TEST_F(QuadBatch, LabelsAndParticlesJoinTheRunOfTheirTexture) {
    // Every glyph of a one-page label is one run.
    kxtest::PixelImage page(8, 8);
    page.fillRect(0, 0, 4, 6, kWhite);
    ASSERT_TRUE(page.savePng(folder.file("page.png")));
    folder.write("one.fnt", "common lineHeight=8 base=6 scaleW=8 scaleH=8 pages=1\n"
                            "page id=0 file=\"page.png\"\n"
                            "char id=65 x=0 y=0 width=4 height=6 xoffset=0 yoffset=0 xadvance=5 page=0\n");
    CCLabelBMFont* label = CCLabelBMFont::create("AAAAAA", folder.file("one.fnt").c_str(),
                                                 kCCLabelAutomaticWidth, kCCTextAlignmentLeft, CCPointZero);
    ASSERT_NE(label, nullptr);
    label->setPosition(CCPoint(50, 50));
    EXPECT_EQ(drawsToRender({label}), 1u);
    EXPECT_EQ(drawsToRender({sprite("red", kRed, 5, 5, 2, 2), label, sprite("red", kRed, 9, 5, 2, 2)}), 3u);
    CCLabelBMFont::purgeCachedData();

    // A particle system of one texture is one run, whatever its number of particles.
    CCParticleSystemQuad* emitter = new CCParticleSystemQuad();
    emitter->autorelease();
    ASSERT_TRUE(emitter->initWithTotalParticles(20));
    // Sprites of the same texture and blend on either side join the run.
    CCSprite* a = sprite("red", kRed, 5, 5, 2, 2);
    CCSprite* b = sprite("red", kRed, 95, 95, 2, 2);
    emitter->setTexture(a->getTexture());
    emitter->setPosition(50.0f, 50.0f);
    emitter->setPosVar(CCPoint(30, 30));
    emitter->setEmissionRate(100.0f);
    emitter->setLife(100.0f);
    emitter->setStartSize(4.0f);
    emitter->setEndSize(kCCParticleStartSizeEqualToEndSize);
    emitter->setStartColor(ccc4f(1, 1, 1, 1));
    emitter->setEndColor(ccc4f(1, 1, 1, 1));
    emitter->update(0.2f);
    ASSERT_GT(emitter->getParticleCount(), 10u);
    EXPECT_EQ(drawsToRender({emitter}), 1u);
    EXPECT_EQ(drawsToRender({a, emitter, b}), 1u);
}

TEST_F(QuadBatch, AFullBatchIsDrawnAndANewOneBegun) {
    CCNode* root = CCNode::create();
    const int count = static_cast<int>(kCCQuadBatchCapacity) + 1;
    for (int i = 0; i < count; ++i)
        root->addChild(sprite("red", kRed, static_cast<float>(i % 50), 0.5f, 1, 1));
    // The one over capacity, where no other sprite is.
    root->addChild(sprite("blue", kBlue, 90.5f, 90.5f, 1, 1));
    EXPECT_EQ(drawsToRender({root}), 3u);
    EXPECT_PIXEL(pixel(90, 90), 0, 0, 255);
}

TEST_F(QuadBatch, StateChangesAndTheFrameEndDrawWhatWaits) {
    // Deleting a texture whose quads wait draws them first.
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithImageFile(solidPng("red.png", 4, 4, kRed).c_str()));
    CCSprite* s = CCSprite::createWithTexture(texture, CCRect(0, 0, 10, 10));
    texture->release();
    s->setPosition(CCPoint(50, 50));
    view->beginFrame();
    CCDirector::sharedDirector()->setProjection2D();
    s->visit();
    s->setTexture(nullptr); // the last reference: the texture is deleted now
    EXPECT_PIXEL(pixel(50, 50), 255, 0, 0);

    // The director's frame ends with the batch drawn and counted before the swap.
    SwapRecorder recorder(view);
    CCScene* scene = CCScene::create();
    for (int i = 0; i < 5; ++i)
        scene->addChild(sprite("red", kRed, 10.f + 10 * i, 50, 4, 4));
    CCDirector* director = CCDirector::sharedDirector();
    director->setOpenGLView(&recorder);
    director->runWithScene(scene);
    director->runFrames(1);
    director->purgeDirector();
    EXPECT_EQ(recorder.swaps, 1);
    EXPECT_EQ(recorder.drawsAtSwap, 1u);
    EXPECT_PIXEL(recorder.pixelAtSwap, 255, 0, 0);
}
