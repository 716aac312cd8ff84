#pragma once

// The one place that reads and writes Box2D user data. Box2D 2.4 keeps a pointer-sized word per
// body and per fixture; this player stores an engine node there: the game object that owns the
// body (and each of its fixtures), or the game-field camera on the screen-boundary body. Storing
// the node's base pointer and casting on the way out means a reader never takes one kind of node
// for another: asking a camera body for its object (`nodeAs<KXPObject>`) answers null.

#include "cocos2d.h"

#include <box2d/box2d.h>

class KXPBodyData {
public:
    static void setNode(b2Body* body, cocos2d::CCNode* node);
    static void setNode(b2Fixture* fixture, cocos2d::CCNode* node);
    static void setNode(b2FixtureDef& definition, cocos2d::CCNode* node);
    // Clears the word of the body and of each of its fixtures (a body that outlives its object).
    static void clear(b2Body* body);

    // The stored node, or null (no body or fixture, or nothing stored).
    static cocos2d::CCNode* node(b2Body* body);
    static cocos2d::CCNode* node(b2Fixture* fixture);

    // The stored node as T, or null when it is something else.
    template <class T> static T* nodeAs(b2Body* body) { return cocos2d::ccNodeAs<T>(node(body)); }
    template <class T> static T* nodeAs(b2Fixture* fixture) { return cocos2d::ccNodeAs<T>(node(fixture)); }
};
