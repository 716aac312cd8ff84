#pragma once

// A portal: a character that enters it is queued with the game field to come out of every other
// portal of the same "Group ID" lying strictly within this portal's "Search Radius". The field
// makes the move in its own update, outside the physics step. A portal can be exit-only, used up
// after one send ("Single Use"), or swallow the character it sent ("Delete Input Object"). A
// portal whose movement is disabled takes nothing in (the field disables a receiving portal until
// the arrival has left it). No copy comes out while the field holds as many as it takes.

#include "player/objects/assets/KXPObjectAsset.h"

#include <memory>

class KXModelObjectTeleport;
class KXPLevelField;

class KXPObjectAssetTeleport : public KXPObjectAsset {
public:
    explicit KXPObjectAssetTeleport(const std::shared_ptr<KXModelObjectTeleport>& model);
    // Takes its removal listener back from the carried object.
    ~KXPObjectAssetTeleport() override;

    float groupId() const;
    KXPObjectAsset* carriedObject() const { return m_carried; }

    // The layer it stands on hears of a move, and of riding a path or being let go by one.
    using KXPObjectAsset::setPosition;
    void setPosition(const cocos2d::CCPoint& position) override;
    void setType(uint32_t flags) override;
    // A weightless dynamic sensor.
    void addToWorld(b2World* world, bool skipStill) override;
    // Records an entering live character (no spawned copies); no contact listeners, no damage.
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;
    // State 1 sends the carried object through the current game field; state 5 lets it go.
    void setState(int32_t state) override;
    // Only drives the send while an object is carried; no pending states, components or children.
    void update(float dt) override;

    // Queues the carried object to every partner in range on `field`. Sent once per entry: after
    // a send the portal forgets the object (swallowing it first with "Delete Input Object") and
    // is idle again, so a character standing in it is not queued again every frame. While the
    // field holds the copies it takes, the partners left get none; with none sent, the portal
    // keeps the object and tries again next update.
    void send(KXPLevelField& field);

private:
    std::shared_ptr<KXModelObjectTeleport> teleportModel() const;
    void onCarriedObjectRemoved(KXPObjectAsset* removed, KXPObjectAsset* other);
    // The field holds as many copies as it takes (KXPLevelField::kMaxTeleportCopies); the first
    // portal refused in a level says so.
    bool copiesFull(KXPLevelField& field) const;
    void tellLayer();
    // Takes the listener back and forgets the carried object.
    void releaseCarriedObject();

    KXPObjectAsset* m_carried = nullptr; // not owned; tells us through its removal listener
};
