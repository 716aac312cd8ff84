#pragma once

// An invisible guide along a polyline. It catches the objects (all, characters, or units of one
// asset) that come within its "Search Radius" of its origin and steers their bodies point to
// point, with a play mode for the end of the line: stop and let go, jump back to the start, or
// turn back. A carried object floats (gravity 0), ignores its own movement control and carries
// the flag 512. The path has no body and draws nothing.

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/assets/KXPPathIndex.h"

#include "cocos2d.h"

#include <memory>
#include <unordered_set>
#include <vector>

class KXModelObjectPath;

class KXPObjectAssetPath : public KXPObjectAsset {
public:
    static constexpr int kPlaySingle = 0;
    static constexpr int kPlayLoop = 1;
    static constexpr int kPlayPingPong = 2;
    static constexpr int kTargetAll = 0;
    static constexpr int kTargetCharacter = 1;
    static constexpr int kTargetAssets = 2;
    // A target closer than this counts as reached.
    static constexpr float kReachDistance = 20.0f;

    struct Carried {
        KXPObjectAsset* object; // not owned; tells us through its removal listener
        int reserved;
        int pointIndex; // the next point to aim at
        cocos2d::CCPoint target;
        int direction; // +1 forwards, -1 backwards
    };

    explicit KXPObjectAssetPath(const std::shared_ptr<KXModelObjectPath>& model);
    // Lets go of what it still carries, as cleanup() does.
    ~KXPObjectAssetPath() override;

    // With an object layer: catches what came near (found through the layer's KXPPathIndex, as
    // captureObjects would find it in the layer's children; in a frame past the index's budget, in
    // a later frame), then steers what it carries.
    void update(float dt) override;
    // Lets go of every carried object (keeping their velocities), and stops the path's own
    // actions and schedules as any removed node does.
    void cleanup() override;
    void draw() override {}
    // The asset's state; a dead path lets go of what it carries.
    void setState(int32_t state) override;
    // The origin's 40 x 40 square united with a 10 x 10 square at each point.
    cocos2d::CCRect boundingRect() override;
    // A path has no body.
    void addToWorld(b2World* world, bool skipStill) override;

    // Carries every object of `children` that passes the target filter and lies within the
    // search radius of the origin (stops at the first null entry), in their order.
    void captureObjects(cocos2d::CCArray* children);
    // The same for the layer's children, through its index; false when the index's budget for the
    // frame was spent (nothing is caught then).
    bool captureFromIndex(cocos2d::CCNode* layer);
    // One steering step for each carried object; lets go of those that escaped or finished.
    void followStep();
    // The point at that index plus the origin; the origin for an index outside the list.
    cocos2d::CCPoint pointAt(int index);

    const std::vector<Carried>& carried() const {
        forgetRemoved();
        return m_carried;
    }
    int playMode() const { return m_playMode; }
    int targetKind() const { return m_targetKind; }
    bool escapeCheck() const { return m_escapeCheck; }

private:
    std::shared_ptr<KXModelObjectPath> pathModel() const;
    bool passesFilter(KXPObjectAsset* object) const;
    void carry(KXPObjectAsset* object);
    // Gives the object back its gravity, flags, movement and forgets our listener.
    void letGo(KXPObjectAsset* object);
    // A trace line of the path's work on that object (carry, release, loop, turn).
    void trace(const char* event, KXPObjectAsset& object);
    void letGoOfAll();
    void onCarriedObjectRemoved(KXPObjectAsset* removed, KXPObjectAsset* other);
    // Drops the records of the objects removed from the game since the list was last read.
    void forgetRemoved() const;

    // Every read of the list goes through forgetRemoved first: a removal only notes the object
    // (its pointer is compared, never followed, as the object may be freed by then), so that
    // thousands of removals cost one pass over the list.
    mutable std::vector<Carried> m_carried;
    mutable std::unordered_set<KXPObjectAsset*> m_removed;
    KXPPathIndex::Turn m_turn;
    int m_playMode = kPlaySingle;
    int m_targetKind = kTargetAll;
    bool m_escapeCheck = true;
    int64_t m_objectAssetId = 0;
};
