#pragma once

// The object layer's children as the depth-sorting groups look them up: every object child by its
// model, and the characters, each with its place in the children array. Made by one walk of the
// layer and kept while the camera's children version stays the same, so that hundreds of groups
// over thousands of objects walk the layer once a frame (the sort in each frame's drawing changes
// the version) instead of once each.

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace cocos2d {
class CCNode;
}
class KXModel;
class KXPGameFieldCamera;

class KXPGroupMembers {
public:
    // The lookup for the camera's children as they are now.
    static const KXPGroupMembers& of(KXPGameFieldCamera& camera);

    // Places in the children array of the children made from that model, in array order.
    const std::vector<uint32_t>* placesOf(const KXModel* model) const;
    // Places of the children whose type is exactly a character's, in array order.
    const std::vector<uint32_t>& characterPlaces() const { return m_characters; }
    cocos2d::CCNode* childAt(uint32_t place) const { return m_children[place]; }

private:
    void rebuild(KXPGameFieldCamera& camera);

    const KXPGameFieldCamera* m_camera = nullptr;
    uint64_t m_version = 0;
    std::vector<cocos2d::CCNode*> m_children;
    std::unordered_map<const KXModel*, std::vector<uint32_t>> m_byModel;
    std::vector<uint32_t> m_characters;
};
