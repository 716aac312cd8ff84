#include "player/physics/KXPBodyData.h"

#include <cstdint>

using namespace cocos2d;

namespace {
uintptr_t wordOf(CCNode* node) {
    return reinterpret_cast<uintptr_t>(node);
}

CCNode* nodeOfWord(uintptr_t word) {
    return reinterpret_cast<CCNode*>(word);
}
} // namespace

void KXPBodyData::setNode(b2Body* body, CCNode* node) {
    if (body != nullptr) {
        body->GetUserData().pointer = wordOf(node);
    }
}

void KXPBodyData::setNode(b2Fixture* fixture, CCNode* node) {
    if (fixture != nullptr) {
        fixture->GetUserData().pointer = wordOf(node);
    }
}

void KXPBodyData::setNode(b2FixtureDef& definition, CCNode* node) {
    definition.userData.pointer = wordOf(node);
}

void KXPBodyData::clear(b2Body* body) {
    if (body == nullptr) {
        return;
    }
    body->GetUserData().pointer = 0;
    for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        fixture->GetUserData().pointer = 0;
    }
}

CCNode* KXPBodyData::node(b2Body* body) {
    return body != nullptr ? nodeOfWord(body->GetUserData().pointer) : nullptr;
}

CCNode* KXPBodyData::node(b2Fixture* fixture) {
    return fixture != nullptr ? nodeOfWord(fixture->GetUserData().pointer) : nullptr;
}
