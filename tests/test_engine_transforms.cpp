// Node transforms, space conversions, anchor defaults and draw order.
#include <cmath>
#include <vector>

#include "support/scene_test_support.h"

using namespace cocos2d;

namespace {

constexpr float kTol = 1e-3f;

void expectPoint(const CCPoint& p, float x, float y) {
    EXPECT_NEAR(p.x, x, kTol);
    EXPECT_NEAR(p.y, y, kTol);
}

// Records the order of draw() calls and the model-view matrix seen there.
class RecordingNode : public CCNode {
public:
    static RecordingNode* make(kxtest::EventLog* log, const std::string& name) {
        RecordingNode* node = new RecordingNode();
        node->m_log = log;
        node->m_name = name;
        node->autorelease();
        return node;
    }
    void draw() override {
        m_log->add(m_name);
        kmGLGetMatrix(KM_GL_MODELVIEW, &m_seen);
    }
    kmMat4 m_seen{};

private:
    kxtest::EventLog* m_log = nullptr;
    std::string m_name;
};

class TransformTest : public kxtest::SceneTest {};

} // namespace

TEST_F(TransformTest, LocalTransformScalesRotatesClockwiseAndMoves) {
    CCNode* node = CCNode::create();
    node->setPosition(CCPoint(10.0f, 20.0f));
    node->setRotation(90.0f);
    node->setScale(2.0f);
    // (1, 0) -> scaled (2, 0) -> a quarter turn clockwise (0, -2) -> moved.
    expectPoint(CCPointApplyAffineTransform(CCPoint(1.0f, 0.0f), node->nodeToParentTransform()), 10.0f,
                18.0f);

    node->setContentSize(CCSize(4.0f, 2.0f));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    // The anchor (2, 1) sits at the position; (4, 1) is 2 units right of it, so 4 after scaling,
    // turned to straight down.
    expectPoint(node->convertToWorldSpace(CCPoint(2.0f, 1.0f)), 10.0f, 20.0f);
    expectPoint(node->convertToWorldSpace(CCPoint(4.0f, 1.0f)), 10.0f, 16.0f);
}

TEST_F(TransformTest, IgnoringTheAnchorPlacesTheCornerButRotatesAboutTheAnchor) {
    CCNode* node = CCNode::create();
    node->setContentSize(CCSize(4.0f, 2.0f));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setPosition(CCPoint(10.0f, 20.0f));
    node->ignoreAnchorPointForPosition(true);
    expectPoint(node->convertToWorldSpace(CCPointZero), 10.0f, 20.0f);

    node->setRotation(90.0f);
    // The corner is (-2, -1) from the anchor, which sits at (12, 21); clockwise: (x, y) -> (y, -x).
    expectPoint(node->convertToWorldSpace(CCPointZero), 11.0f, 23.0f);
}

TEST_F(TransformTest, WorldAndNodeSpaceRoundTripThroughAChain) {
    CCNode* root = CCNode::create();
    CCNode* middle = CCNode::create();
    CCNode* leaf = CCNode::create();
    root->addChild(middle);
    middle->addChild(leaf);
    root->setPosition(CCPoint(100.0f, 50.0f));
    root->setRotation(90.0f);
    middle->setPosition(CCPoint(10.0f, 0.0f));
    middle->setScale(0.5f);
    middle->setRotation(-45.0f);
    leaf->setPosition(CCPoint(4.0f, 0.0f));
    leaf->setScaleX(3.0f);
    leaf->setScaleY(-2.0f);

    // middle's origin: (10, 0) in root space, turned clockwise a quarter: (0, -10) + (100, 50).
    expectPoint(middle->convertToWorldSpace(CCPointZero), 100.0f, 40.0f);
    // leaf's origin: (4, 0) in middle space -> scaled 2 -> turned 45 degrees counter-clockwise
    // (1.41421, 1.41421) -> +(10, 0) -> root turns clockwise: (1.41421, -11.41421) -> +(100, 50).
    expectPoint(leaf->convertToWorldSpace(CCPointZero), 101.41421f, 38.58579f);

    const CCPoint samples[] = {CCPoint(0.0f, 0.0f), CCPoint(3.0f, -7.0f), CCPoint(-20.0f, 11.5f)};
    for (const CCPoint& p : samples) {
        const CCPoint world = leaf->convertToWorldSpace(p);
        expectPoint(leaf->convertToNodeSpace(world), p.x, p.y);
    }
    // The inverse of the world transform agrees with the parent chain.
    expectPoint(leaf->convertToNodeSpace(CCPoint(101.41421f, 38.58579f)), 0.0f, 0.0f);
}

TEST_F(TransformTest, RotationAndScaleReadBackWithTheAtanFormulas) {
    CCNode* parent = CCNode::create();
    CCNode* child = CCNode::create();
    parent->addChild(child);
    parent->setRotation(20.0f);
    parent->setScale(1.5f);
    child->setRotation(10.0f);
    child->setScale(2.0f);
    child->setPosition(CCPoint(7.0f, 0.0f));

    const CCAffineTransform t =
        CCAffineTransformConcat(child->nodeToParentTransform(), parent->nodeToParentTransform());
    EXPECT_NEAR(std::atan(-t.b / t.a) * 57.29578f, 30.0f, 1e-3f);
    EXPECT_NEAR(std::sqrt(t.a * t.a + t.b * t.b), 3.0f, 1e-4f);
    EXPECT_NEAR(std::sqrt(t.c * t.c + t.d * t.d), 3.0f, 1e-4f);
    // Position: (7, 0) scaled 1.5 and turned 20 degrees clockwise.
    EXPECT_NEAR(t.tx, 10.5f * std::cos(20.0f * static_cast<float>(M_PI) / 180.0f), 1e-3f);
    EXPECT_NEAR(t.ty, -10.5f * std::sin(20.0f * static_cast<float>(M_PI) / 180.0f), 1e-3f);
}

TEST_F(TransformTest, AdditionalTransformKeepsALinkedChildInPlace) {
    CCNode* layer = CCNode::create();
    CCNode* a = CCNode::create();
    CCNode* b = CCNode::create();
    layer->addChild(a);
    layer->addChild(b);
    layer->setPosition(CCPoint(-30.0f, 12.0f));
    a->setPosition(CCPoint(50.0f, 60.0f));
    a->setRotation(45.0f);
    a->setScale(1.5f);
    b->setPosition(CCPoint(200.0f, 100.0f));
    b->setRotation(-30.0f);
    b->setScale(0.8f);

    // b: scale 0.8, turn 30 degrees counter-clockwise, move to (200, 100), then the layer's shift.
    expectPoint(b->convertToWorldSpace(CCPoint(10.0f, 0.0f)), 206.9282f - 30.0f, 104.0f + 12.0f);
    expectPoint(b->convertToWorldSpace(CCPoint(0.0f, 10.0f)), 196.0f - 30.0f, 106.9282f + 12.0f);

    const CCAffineTransform link = CCAffineTransformConcat(
        b->nodeToWorldTransform(), CCAffineTransformInvert(a->nodeToWorldTransform()));
    b->retain();
    b->removeFromParentAndCleanup(false);
    b->setPosition(CCPointZero);
    b->setRotation(0.0f);
    b->setScale(1.0f);
    a->addChild(b);
    b->setAdditionalTransform(link);
    b->release();

    expectPoint(b->convertToWorldSpace(CCPoint(10.0f, 0.0f)), 176.9282f, 116.0f);
    expectPoint(b->convertToWorldSpace(CCPoint(0.0f, 10.0f)), 166.0f, 118.9282f);

    // It now moves with a.
    a->setPosition(CCPoint(60.0f, 60.0f));
    expectPoint(b->convertToWorldSpace(CCPoint(10.0f, 0.0f)), 186.9282f, 116.0f);
}

TEST_F(TransformTest, AnchorDefaultsPerClass) {
    CCNode* node = CCNode::create();
    expectPoint(node->getAnchorPoint(), 0.0f, 0.0f);
    EXPECT_FALSE(node->isIgnoreAnchorPointForPosition());
    EXPECT_EQ(node->getTag(), kCCNodeTagInvalid);
    EXPECT_TRUE(node->isVisible());

    CCLayer* layer = CCLayer::create();
    expectPoint(layer->getAnchorPoint(), 0.5f, 0.5f);
    EXPECT_TRUE(layer->isIgnoreAnchorPointForPosition());
    EXPECT_EQ(layer->getContentSize(), CCSize(1000.0f, 500.0f));
    // Ignoring the anchor: the layer's corner is at its position.
    expectPoint(layer->convertToWorldSpace(CCPointZero), 0.0f, 0.0f);

    CCScene* scene = CCScene::create();
    expectPoint(scene->getAnchorPoint(), 0.5f, 0.5f);
    EXPECT_TRUE(scene->isIgnoreAnchorPointForPosition());
    EXPECT_EQ(scene->getContentSize(), CCSize(1000.0f, 500.0f));

    CCMenuItem* item = CCMenuItem::create();
    expectPoint(item->getAnchorPoint(), 0.5f, 0.5f);

    CCMenu* menu = CCMenu::create();
    EXPECT_TRUE(menu->isIgnoreAnchorPointForPosition());
    expectPoint(menu->getPosition(), 500.0f, 250.0f);
}

TEST_F(TransformTest, BoundingBoxCoversTheTransformedContent) {
    CCNode* node = CCNode::create();
    node->setContentSize(CCSize(4.0f, 2.0f));
    node->setAnchorPoint(CCPoint(0.5f, 0.5f));
    node->setPosition(CCPoint(10.0f, 10.0f));
    node->setRotation(90.0f);
    const CCRect box = node->boundingBox();
    // Standing on end: 2 wide, 4 high, centred on the position.
    EXPECT_NEAR(box.origin.x, 9.0f, kTol);
    EXPECT_NEAR(box.origin.y, 8.0f, kTol);
    EXPECT_NEAR(box.size.width, 2.0f, kTol);
    EXPECT_NEAR(box.size.height, 4.0f, kTol);
}

TEST_F(TransformTest, VisitDrawsByZThenArrivalWithTheParentBetween) {
    RecordingNode* parent = RecordingNode::make(&log, "P");
    parent->addChild(RecordingNode::make(&log, "a"), 1);
    parent->addChild(RecordingNode::make(&log, "b"), -1);
    parent->addChild(RecordingNode::make(&log, "c"), 0);
    parent->addChild(RecordingNode::make(&log, "d"), 1);
    parent->addChild(RecordingNode::make(&log, "e"), -1);

    // Before a visit the children are in insertion order.
    ASSERT_EQ(parent->getChildrenCount(), 5u);
    EXPECT_EQ(static_cast<CCNode*>(parent->getChildren()->objectAtIndex(1))->getZOrder(), -1);

    parent->visit();
    EXPECT_EQ(log.events, (std::vector<std::string>{"b", "e", "P", "c", "a", "d"}));

    // Reordering gives a new arrival: among equal z the last reordered goes on top.
    static_cast<CCNode*>(parent->getChildren()->objectAtIndex(3))->setZOrder(1); // "a" after sorting
    log.clear();
    parent->visit();
    EXPECT_EQ(log.events, (std::vector<std::string>{"b", "e", "P", "c", "d", "a"}));

    static_cast<CCNode*>(parent->getChildByTag(kCCNodeTagInvalid))->setZOrder(-5);
    log.clear();
    parent->visit();
    EXPECT_EQ(log.events.front(), "b");
    EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), 1);
}

// Thousands of children added at once in an order of their own (z falling, in runs of equal z)
// are drawn in the same order as a few added to sorted ones: by z, then by arrival.
TEST_F(TransformTest, ManyChildrenAddedOutOfOrderSortByZThenArrival) {
    CCNode* parent = CCNode::create();
    const int count = 3000;
    for (int index = 0; index < count; ++index) {
        CCNode* child = CCNode::create();
        child->setTag(index);
        parent->addChild(child, (count - index) / 7);
    }
    parent->sortAllChildren();
    // Then a few more among them, as the streaming adds them.
    for (int index = count; index < count + 20; ++index) {
        CCNode* child = CCNode::create();
        child->setTag(index);
        parent->addChild(child, index % 50);
    }
    parent->sortAllChildren();
    std::vector<CCNode*> expected;
    for (CCObject* item : parent->getChildren()->data()) {
        expected.push_back(static_cast<CCNode*>(item));
    }
    std::stable_sort(expected.begin(), expected.end(), [](CCNode* a, CCNode* b) {
        return a->getZOrder() != b->getZOrder() ? a->getZOrder() < b->getZOrder()
                                                : a->getOrderOfArrival() < b->getOrderOfArrival();
    });
    for (size_t index = 0; index < expected.size(); ++index) {
        ASSERT_EQ(parent->getChildren()->objectAtIndex(static_cast<unsigned int>(index)), expected[index])
            << index;
    }
}

TEST_F(TransformTest, VisitMultipliesTransformsAndSkipsHiddenSubtrees) {
    RecordingNode* parent = RecordingNode::make(&log, "P");
    RecordingNode* child = RecordingNode::make(&log, "C");
    RecordingNode* grandChild = RecordingNode::make(&log, "G");
    parent->addChild(child);
    child->addChild(grandChild);
    parent->setPosition(CCPoint(100.0f, 0.0f));
    parent->setScale(2.0f);
    child->setPosition(CCPoint(10.0f, 20.0f));

    kmGLFreeAll();
    parent->visit();
    EXPECT_NEAR(child->m_seen.mat[0], 2.0f, kTol);
    EXPECT_NEAR(child->m_seen.mat[12], 120.0f, kTol);
    EXPECT_NEAR(child->m_seen.mat[13], 40.0f, kTol);
    EXPECT_EQ(kmGLStackDepth(KM_GL_MODELVIEW), 1);

    child->setVisible(false);
    log.clear();
    parent->visit();
    EXPECT_EQ(log.events, std::vector<std::string>{"P"});
}

TEST_F(TransformTest, ChildrenAddedDuringIterationAreCounted) {
    CCNode* parent = CCNode::create();
    parent->addChild(CCNode::create());
    unsigned int visited = 0;
    for (unsigned int i = 0; i < parent->getChildrenCount(); ++i) {
        ++visited;
        if (parent->getChildrenCount() < 3) {
            parent->addChild(CCNode::create());
        }
    }
    EXPECT_EQ(visited, 3u);
}

TEST_F(TransformTest, ChildrenTakenOutLeaveTheOthersInOrderAndStrangersAlone) {
    CCNode* parent = CCNode::create();
    CCNode* other = CCNode::create();
    std::vector<CCNode*> children;
    for (int index = 0; index < 5; ++index) {
        children.push_back(CCNode::create());
        parent->addChild(children.back(), 0, index);
    }
    CCNode* stranger = CCNode::create();
    other->addChild(stranger);
    children[4]->removeFromParent(); // the newest
    parent->removeChild(children[1], true);
    parent->removeChild(stranger, true); // another's child stays where it is
    parent->removeChild(children[1], true);
    ASSERT_EQ(parent->getChildrenCount(), 3u);
    for (unsigned int index = 0; index < 3; ++index) {
        EXPECT_EQ(parent->getChildren()->objectAtIndex(index), children[index == 0 ? 0 : index + 1]);
    }
    EXPECT_EQ(stranger->getParent(), other);
    EXPECT_EQ(children[1]->getParent(), nullptr);
    parent->removeAllChildren();
    EXPECT_EQ(parent->getChildrenCount(), 0u);
    EXPECT_EQ(children[3]->getParent(), nullptr);
}

TEST_F(TransformTest, TagsUserDataAndUserObject) {
    CCNode* parent = CCNode::create();
    CCNode* first = CCNode::create();
    CCNode* second = CCNode::create();
    parent->addChild(first, 0, 7);
    parent->addChild(second, 0, 7);
    EXPECT_EQ(parent->getChildByTag(7), first);
    EXPECT_EQ(parent->getChildByTag(8), nullptr);

    int payload = 0;
    first->setUserData(&payload);
    EXPECT_EQ(first->getUserData(), &payload);

    CCObject* holder = new CCObject();
    first->setUserObject(holder);
    EXPECT_EQ(holder->retainCount(), 2u);
    first->setUserObject(nullptr);
    EXPECT_EQ(holder->retainCount(), 1u);
    first->setUserObject(holder);
    holder->release(); // the node holds the only reference now
    EXPECT_EQ(first->getUserObject()->retainCount(), 1u);

    // A node that already has a parent is not added twice.
    CCNode* other = CCNode::create();
    other->addChild(first);
    EXPECT_EQ(first->getParent(), parent);
    EXPECT_EQ(other->getChildrenCount(), 0u);
}
