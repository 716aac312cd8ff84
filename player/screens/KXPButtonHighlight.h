#pragma once

// Keyboard and controller navigation over a screen's buttons: a highlight (the button's pressed
// look, its selected state) moves from button to button by direction, a confirm activates the
// highlighted button, and a screen may start with its topmost button highlighted. Each screen
// keeps one of these.
//
// Only buttons a player can see and use take part: a hidden button (also one under a hidden
// parent, such as the screen below an overlay) or a disabled one is never highlighted, moved to
// or pressed. The buttons are taken in a fixed order, by "Z Depth" and then by model id, which
// decides the first button and the winner of exact ties.
//
// The highlights are the buttons this object lit, not any button that looks selected: sound
// buttons look selected while their sound is muted, and a muted sound button must neither count
// as a highlight nor lose its muted look when the highlight leaves it. Several buttons may be lit
// (the default button lights beside a highlight made before); the first of them in order is the
// one a step starts from and a confirm presses, and a lit button is no step's goal.

#include "cocos2d.h"

#include <memory>
#include <vector>

class KXModelObject;
class KXPScreen;

class KXPButtonHighlight {
public:
    // Direction codes.
    static constexpr int kUp = 12;
    static constexpr int kDown = 13;
    static constexpr int kLeft = 14;
    static constexpr int kRight = 15;
    // A button farther than this across the direction is never reached by it.
    static constexpr float kCrossWindow = 100.0f;
    // The start value of both distances.
    static constexpr float kFarAway = 1000000.0f;

    struct Item {
        cocos2d::CCMenuItem* item;
        std::shared_ptr<KXModelObject> model;
    };

    // Visible, and every ancestor too.
    static bool isShown(cocos2d::CCNode* node);
    // The screen's buttons that take part, in navigation order.
    static std::vector<Item> navigableItems(const KXPScreen& screen);

    // Moves the highlight one step in the direction (nothing highlighted: the first button is
    // highlighted and the step taken from it). No button that way: the highlight stays.
    void hilightButton(const KXPScreen& screen, int direction);
    // Activates the highlighted button, if any.
    void pressHilightButton(const KXPScreen& screen);
    // Highlights the button with the greatest "Z Depth" that is at least 0 (the later one on a
    // tie); a button lit before stays lit.
    void hilightDefaultButton(const KXPScreen& screen);

    // The first lit button, in order, that can still take part, else null.
    cocos2d::CCMenuItem* highlighted(const KXPScreen& screen);

private:
    void highlight(const Item& item);
    void unhighlight(cocos2d::CCMenuItem* item);
    bool isLit(const cocos2d::CCMenuItem* item) const;
    // Forgets lit buttons that left the screen, and puts out those that were hidden or disabled.
    void dropGone(const KXPScreen& screen);

    // Compared with the screen's buttons before they are used: never dereferenced once gone.
    std::vector<Item> m_lit;
};
