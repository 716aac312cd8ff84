// What a node is, asked without dynamic_cast (kind bits, the colour protocol), and the matrix the
// scene graph pushes for each node it visits.
#include <cmath>
#include <cstring>

#include "cocos2d.h"
#include "kazmath/GL/matrix.h"
#include "kazmath/TransformUtils.h"
#include "support/scene_test_support.h"

using namespace cocos2d;

namespace {

class KindsTest : public kxtest::SceneTest {};

class OwnSprite : public CCSprite {};

// A subclass that inherits its base's kind bit would be "found" in every object of the base:
// only a class that declares its own kind can be asked for.
class KindedSprite : public CCSprite {
public:
    CC_NODE_KIND(KindedSprite, kCCNodeKindFirstGameBit);
};
static_assert(ccDeclaresNodeKind<CCSprite>::value, "a class with its own kind");
static_assert(ccDeclaresNodeKind<KindedSprite>::value, "a subclass that declares its own kind");
static_assert(!ccDeclaresNodeKind<OwnSprite>::value, "a subclass with only its base's kind");
static_assert(!ccDeclaresNodeKind<CCNode>::value, "a class without a kind");

TEST_F(KindsTest, KindBitsAnswerAsDynamicCastDoesAndDerivedClassesCarryThem) {
    CCNode* plain = CCNode::create();
    CCNode* rgba = CCNodeRGBA::create();
    CCNode* sprite = CCSprite::create();
    OwnSprite* own = new OwnSprite();
    own->autorelease();
    for (CCNode* node : {plain, rgba, sprite, static_cast<CCNode*>(own)}) {
        EXPECT_EQ(ccNodeAs<CCSprite>(node), dynamic_cast<CCSprite*>(node));
        EXPECT_EQ(node->getRGBAProtocol(), dynamic_cast<CCRGBAProtocol*>(node));
    }
    EXPECT_EQ(ccNodeAs<CCSprite>(static_cast<CCNode*>(nullptr)), nullptr);
    // Through a children array, as the per-frame walks ask.
    plain->addChild(sprite);
    EXPECT_EQ(ccNodeAs<CCSprite>(plain->getChildren()->objectAtIndex(0)), sprite);
}

TEST_F(KindsTest, EveryNodeWithAColourAndOpacityHandsOverItsProtocol) {
    CCLabelBMFont* label = CCLabelBMFont::create();
    ASSERT_NE(label, nullptr);
    CCNode* node = label;
    EXPECT_EQ(node->getRGBAProtocol(), static_cast<CCRGBAProtocol*>(label));
    // Opacity actions reach it through the protocol.
    CCFadeTo* fade = CCFadeTo::create(1.0f, 0);
    fade->startWithTarget(label);
    fade->update(1.0f);
    EXPECT_EQ(label->getOpacity(), 0);
}

// The node's matrix as the stack had it before: the 4x4 form of its affine transform, multiplied.
kmMat4 fullProduct(const kmMat4& top, const CCAffineTransform& t) {
    kmMat4 affine;
    CGAffineToGL(&t, affine.mat);
    kmMat4 out;
    kmMat4Multiply(&out, &top, &affine);
    return out;
}

TEST_F(KindsTest, ThePushedNodeMatrixIsTheFullProductOfItsAffineForm) {
    kmGLMatrixMode(KM_GL_MODELVIEW);
    kmGLLoadIdentity();
    kmGLTranslatef(3.0f, -7.5f, 0.25f);
    kmGLRotatef(33.0f, 0.0f, 0.0f, 1.0f);
    kmGLScalef(1.5f, -0.5f, 2.0f);
    kmMat4 top;
    kmGLGetMatrix(KM_GL_MODELVIEW, &top);
    const CCAffineTransform t = CCAffineTransformMake(0.8f, -0.6f, 0.6f, 0.8f, 120.5f, -42.25f);
    const kmMat4 expected = fullProduct(top, t);

    const int depth = kmGLStackDepth(KM_GL_MODELVIEW);
    kmGLPushMatrixMultAffine(t.a, t.b, t.c, t.d, t.tx, t.ty);
    EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), depth + 1);
    kmMat4 pushed;
    kmGLGetMatrix(KM_GL_MODELVIEW, &pushed);
    kmGLPopMatrix();
    kmGLMultAffine(t.a, t.b, t.c, t.d, t.tx, t.ty);
    kmMat4 multiplied;
    kmGLGetMatrix(KM_GL_MODELVIEW, &multiplied);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(pushed.mat[i], expected.mat[i]) << i;
        EXPECT_FLOAT_EQ(multiplied.mat[i], expected.mat[i]) << i;
    }
    kmGLLoadIdentity();
}

TEST_F(KindsTest, SettingWhatANodeAlreadyHasKeepsItsTransformAndAChangeIsSeen) {
    CCNode* node = CCNode::create();
    node->setPosition(CCPoint(10.0f, 20.0f));
    node->setRotation(30.0f);
    node->setScaleX(2.0f);
    node->setScaleY(0.5f);
    const CCAffineTransform before = node->nodeToParentTransform();
    node->setPosition(CCPoint(10.0f, 20.0f));
    node->setRotation(30.0f);
    node->setScale(1.0f);
    node->setScaleX(2.0f);
    node->setScaleY(0.5f);
    const CCAffineTransform same = node->nodeToParentTransform();
    EXPECT_EQ(std::memcmp(&before, &same, sizeof before), 0);

    node->setRotation(90.0f);
    EXPECT_NEAR(node->nodeToParentTransform().b, -2.0f, 1e-5f);
    node->setPosition(CCPoint(-4.0f, 5.0f));
    EXPECT_FLOAT_EQ(node->nodeToParentTransform().tx, -4.0f);
    // Equal but not the same bits: the value set is the value kept.
    node->setScaleY(0.0f);
    node->setScaleY(-0.0f);
    EXPECT_TRUE(std::signbit(node->getScaleY()));
}

} // namespace
