// Resolution policies, view-port arithmetic and touch coordinates of the view.
#include <cmath>

#include "support/scene_test_support.h"

using namespace cocos2d;

namespace {

constexpr float kTol = 1e-3f;

void expectRect(const CCRect& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.origin.x, x, kTol);
    EXPECT_NEAR(r.origin.y, y, kTol);
    EXPECT_NEAR(r.size.width, w, kTol);
    EXPECT_NEAR(r.size.height, h, kTol);
}

// Design 1000 x 500 on a 2000 x 1500 frame: scale x 2, scale y 3.
class PolicyTest : public ::testing::Test {
protected:
    CCEGLViewProtocol view;
    void SetUp() override { view.setFrameSize(2000.0f, 1500.0f); }
    void apply(ResolutionPolicy policy) { view.setDesignResolutionSize(1000.0f, 500.0f, policy); }
};

class ViewTouchTest : public kxtest::SceneTest {};

class TouchRecorder : public CCObject, public CCTouchDelegate {
public:
    bool ccTouchBegan(CCTouch* touch, CCEvent*) override {
        began = touch->getLocation();
        beganInView = touch->getLocationInView();
        id = touch->getID();
        return true;
    }
    void ccTouchMoved(CCTouch* touch, CCEvent*) override {
        moved = touch->getLocation();
        previous = touch->getPreviousLocation();
    }
    void ccTouchEnded(CCTouch*, CCEvent*) override { ++ended; }
    CCPoint began, beganInView, moved, previous;
    int id = -1;
    int ended = 0;
};

} // namespace

TEST_F(PolicyTest, ExactFitStretchesBothAxes) {
    apply(kResolutionExactFit);
    EXPECT_FLOAT_EQ(view.getScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(view.getScaleY(), 3.0f);
    expectRect(view.getViewPortRect(), 0.0f, 0.0f, 2000.0f, 1500.0f);
    EXPECT_EQ(view.getVisibleSize(), CCSize(1000.0f, 500.0f));
    EXPECT_EQ(view.getVisibleOrigin(), CCPointZero);
}

TEST_F(PolicyTest, NoBorderUsesTheLargerScaleAndCrops) {
    apply(kResolutionNoBorder);
    EXPECT_FLOAT_EQ(view.getScaleX(), 3.0f);
    EXPECT_FLOAT_EQ(view.getScaleY(), 3.0f);
    // 3000 x 1500 centred on a 2000-wide frame.
    expectRect(view.getViewPortRect(), -500.0f, 0.0f, 3000.0f, 1500.0f);
    const CCSize visible = view.getVisibleSize();
    EXPECT_NEAR(visible.width, 666.6667f, kTol);
    EXPECT_NEAR(visible.height, 500.0f, kTol);
    const CCPoint origin = view.getVisibleOrigin();
    EXPECT_NEAR(origin.x, 166.6667f, kTol);
    EXPECT_NEAR(origin.y, 0.0f, kTol);
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(1000.0f, 500.0f));
}

TEST_F(PolicyTest, ShowAllUsesTheSmallerScaleAndLetterboxes) {
    apply(kResolutionShowAll);
    EXPECT_FLOAT_EQ(view.getScaleX(), 2.0f);
    expectRect(view.getViewPortRect(), 0.0f, 250.0f, 2000.0f, 1000.0f);
    EXPECT_EQ(view.getVisibleSize(), CCSize(1000.0f, 500.0f));
    EXPECT_EQ(view.getVisibleOrigin(), CCPointZero);
}

TEST_F(PolicyTest, FixedHeightWidensTheDesignWidth) {
    apply(kResolutionFixedHeight);
    EXPECT_FLOAT_EQ(view.getScaleX(), 3.0f);
    // ceil(2000 / 3) = 667, which is 2001 pixels wide: half a pixel each side.
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(667.0f, 500.0f));
    expectRect(view.getViewPortRect(), -0.5f, 0.0f, 2001.0f, 1500.0f);
    EXPECT_EQ(view.getVisibleSize(), CCSize(667.0f, 500.0f));
    EXPECT_EQ(view.getResolutionPolicy(), kResolutionFixedHeight);
}

TEST_F(PolicyTest, FixedWidthWidensTheDesignHeight) {
    apply(kResolutionFixedWidth);
    EXPECT_FLOAT_EQ(view.getScaleY(), 2.0f);
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(1000.0f, 750.0f));
    expectRect(view.getViewPortRect(), 0.0f, 0.0f, 2000.0f, 1500.0f);
}

TEST_F(PolicyTest, LandscapeGameOnAFullHdFrame) {
    view.setFrameSize(1920.0f, 1080.0f);
    view.setDesignResolutionSize(1136.0f, 640.0f, kResolutionFixedHeight);
    // Scale 1080 / 640 = 1.6875; 1920 / 1.6875 = 1137.78, rounded up.
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(1138.0f, 640.0f));
    EXPECT_NEAR(view.getViewPortRect().origin.x, -0.1875f, kTol);
}

TEST_F(PolicyTest, UnknownPolicyAndBadSizesChangeNothing) {
    // Before any policy the design area is the frame.
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(2000.0f, 1500.0f));
    EXPECT_EQ(view.getResolutionPolicy(), kResolutionUnKnown);
    view.setDesignResolutionSize(1136.0f, 640.0f, kResolutionUnKnown);
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(2000.0f, 1500.0f));
    EXPECT_EQ(view.getResolutionPolicy(), kResolutionUnKnown);

    apply(kResolutionShowAll);
    view.setDesignResolutionSize(0.0f, 640.0f, kResolutionExactFit);
    view.setDesignResolutionSize(NAN, 640.0f, kResolutionExactFit);
    view.setFrameSize(-1.0f, 100.0f);
    EXPECT_EQ(view.getResolutionPolicy(), kResolutionShowAll);
    EXPECT_EQ(view.getFrameSize(), CCSize(2000.0f, 1500.0f));
    EXPECT_FLOAT_EQ(view.getScaleX(), 2.0f);
}

TEST_F(PolicyTest, ResizingTheFrameReappliesThePolicyToTheRequestedDesign) {
    apply(kResolutionFixedHeight);
    view.setFrameSize(1500.0f, 1000.0f);
    // Scale 2; 1500 / 2 = 750 wide, from the requested 1000 x 500, not the earlier 667.
    EXPECT_FLOAT_EQ(view.getScaleY(), 2.0f);
    EXPECT_EQ(view.getDesignResolutionSize(), CCSize(750.0f, 500.0f));
}

TEST_F(ViewTouchTest, WindowPixelsMapThroughTheViewPortToSceneCoordinates) {
    view.setFrameSize(2000.0f, 1500.0f);
    view.setDesignResolutionSize(1000.0f, 500.0f, kResolutionShowAll); // view port (0, 250), scale 2
    TouchRecorder* recorder = new TouchRecorder();
    director()->getTouchDispatcher()->addTargetedDelegate(recorder, 0, true);

    const int id = 0;
    float x = 100.0f, y = 300.0f;
    view.handleTouchesBegin(1, &id, &x, &y);
    // (100 - 0) / 2, (300 - 250) / 2 in the view; y flipped in the 500-high scene.
    EXPECT_EQ(recorder->beganInView, CCPoint(50.0f, 25.0f));
    EXPECT_EQ(recorder->began, CCPoint(50.0f, 475.0f));
    EXPECT_EQ(recorder->id, 0);

    x = 140.0f;
    view.handleTouchesMove(1, &id, &x, &y);
    EXPECT_EQ(recorder->moved, CCPoint(70.0f, 475.0f));
    EXPECT_EQ(recorder->previous, CCPoint(50.0f, 475.0f));

    view.handleTouchesEnd(1, &id, &x, &y);
    EXPECT_EQ(recorder->ended, 1);
    // A move after the end belongs to no touch.
    view.handleTouchesMove(1, &id, &x, &y);
    EXPECT_EQ(recorder->moved, CCPoint(70.0f, 475.0f));

    director()->getTouchDispatcher()->removeDelegate(recorder);
    recorder->release();
}

TEST_F(ViewTouchTest, TooManyTouchesAreIgnoredNotOverflowed) {
    TouchRecorder* recorder = new TouchRecorder();
    director()->getTouchDispatcher()->addTargetedDelegate(recorder, 0, false);
    int ids[CCEGLViewProtocol::kMaxTouches + 5];
    float xs[CCEGLViewProtocol::kMaxTouches + 5];
    float ys[CCEGLViewProtocol::kMaxTouches + 5];
    for (int i = 0; i < CCEGLViewProtocol::kMaxTouches + 5; ++i) {
        ids[i] = 1000 + i;
        xs[i] = ys[i] = static_cast<float>(i);
    }
    view.handleTouchesBegin(CCEGLViewProtocol::kMaxTouches + 5, ids, xs, ys);
    view.handleTouchesEnd(CCEGLViewProtocol::kMaxTouches + 5, ids, xs, ys);
    EXPECT_EQ(recorder->ended, CCEGLViewProtocol::kMaxTouches);
    director()->getTouchDispatcher()->removeDelegate(recorder);
    recorder->release();
}
