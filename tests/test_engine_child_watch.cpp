// A node's child watch: told of each child added and removed, of each real position change of a
// child, of a sort that moved children and of the changes the game reports, and gone with its node.
#include "cocos2d.h"
#include "support/scene_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

class ChildWatchTest : public kxtest::SceneTest {};

class RecordingWatch : public CCChildWatch {
public:
    RecordingWatch(std::vector<std::string>& events, CCNode*& parentAtRemoval, bool& gone)
        : m_events(events), m_parentAtRemoval(parentAtRemoval), m_gone(gone) {}
    ~RecordingWatch() override { m_gone = true; }

    void childAdded(CCNode* child) override {
        m_events.push_back("added " + std::to_string(child->getTag()));
    }
    void childRemoved(CCNode* child) override {
        m_parentAtRemoval = child->getParent();
        m_events.push_back("removed " + std::to_string(child->getTag()));
    }
    void childMoved(CCNode* child) override {
        m_events.push_back("moved " + std::to_string(child->getTag()));
    }
    void childrenReordered() override { m_events.push_back("reordered"); }
    void childChanged(CCNode* child) override {
        m_events.push_back("changed " + std::to_string(child->getTag()));
    }

private:
    std::vector<std::string>& m_events;
    CCNode*& m_parentAtRemoval;
    bool& m_gone;
};

TEST_F(ChildWatchTest, TellsOfEveryChangeToTheChildrenAndGoesWithItsNode) {
    std::vector<std::string> events;
    CCNode* parentAtRemoval = nullptr;
    bool gone = false;
    CCNode* layer = new CCNode();
    layer->setChildWatch(new RecordingWatch(events, parentAtRemoval, gone));

    CCNode* first = CCNode::create();
    CCNode* second = CCNode::create();
    layer->addChild(first, 2, 1);
    layer->addChild(second, 1, 2);
    // A grandchild is not the watch's.
    CCNode* grandchild = CCNode::create();
    first->addChild(grandchild, 0, 3);
    grandchild->setPosition(ccp(1, 1));

    first->setPosition(ccp(5, 6));
    first->setPosition(ccp(5, 6)); // the same bits: no move
    first->setPositionX(7);
    second->noteChangeToParentWatch();
    grandchild->noteChangeToParentWatch(); // its parent has no watch
    layer->sortAllChildren();              // z 1 goes before z 2
    layer->sortAllChildren();              // nothing left to sort
    second->setZOrder(5);
    layer->sortAllChildren();
    EXPECT_EQ(layer->getChildren()->objectAtIndex(0), first);

    layer->removeChild(second, true);
    EXPECT_EQ(parentAtRemoval, layer);
    second = nullptr;
    // A node no longer a child tells nothing.
    CCNode* loose = CCNode::create();
    loose->setPosition(ccp(3, 3));
    loose->noteChangeToParentWatch();

    EXPECT_EQ(events, (std::vector<std::string>{"added 1", "added 2", "moved 1", "moved 1", "changed 2",
                                                "reordered", "reordered", "removed 2"}));
    EXPECT_FALSE(gone);
    layer->release();
    EXPECT_TRUE(gone);
}

TEST_F(ChildWatchTest, AnotherWatchReplacesAndDeletesTheFirst) {
    std::vector<std::string> events;
    CCNode* parentAtRemoval = nullptr;
    bool firstGone = false;
    bool secondGone = false;
    CCNode* layer = CCNode::create();
    auto* watch = new RecordingWatch(events, parentAtRemoval, firstGone);
    layer->setChildWatch(watch);
    layer->setChildWatch(watch); // the same one stays
    EXPECT_FALSE(firstGone);
    layer->setChildWatch(new RecordingWatch(events, parentAtRemoval, secondGone));
    EXPECT_TRUE(firstGone);
    layer->setChildWatch(nullptr);
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(layer->getChildWatch(), nullptr);
    layer->addChild(CCNode::create());
    EXPECT_TRUE(events.empty());
}

} // namespace
