#pragma once

// Bodies piled on one another make the physics step's work grow with the square of their number:
// Box2D's broad phase pairs every box it moves with every box that box overlaps (a box is a
// shape's bounds grown by a margin of 0.1 m and, for a moving body, by its next moves), each pair
// that may touch becomes a contact worked out every step, and overlapping bodies that collide are
// solved apart again and again. A level that places thousands of bodies at one point, or whose
// sections are far narrower than what they hold, would hold a frame for seconds.
//
// So the field counts, around each body that moves, what the step pays for there, and takes a
// body out of the physics (disabled where it stands, its object staying, drawn and updated, once
// and for good) when it stands in more than a playable level ever holds:
// - more than kMaxPiledBodies bodies it collides with whose shapes overlap its own beyond
//   touching (bodies that collide push one another apart: side by side they only touch);
// - more than kMaxContactsAt boxes of bodies it makes a contact with (sensors included), each
//   worked out every step; or
// - more than kMaxPairs boxes of bodies Box2D pairs it with: the contacts and the pairs Box2D
//   looks at and drops whenever one of them moves (characters among characters, two bodies
//   neither of which is dynamic).
// Side by side, a body's box overlaps a few dozen others at most, however small and fast it is.
// Each overlap is counted at the smaller body, so a large one (the ground) holds any number of
// small ones. Characters go last: a character goes only from a crowd of characters, and other
// bodies crowding one go first, newest first. A body of no object (the screen's edge, a
// character's anchor) never goes. Counts decide, not time, so that a run repeats exactly.
//
// Where the count is made costs no more than the work it saves, and nothing where no pile forms:
// - a body made, moved by the game (a teleport, the magnet, a path's turn) or whose type or shapes
//   change is judged before the next step, where it then stands (note, setTransform); one that
//   stands still (a coin, a character's gun at the layer's origin) against bodies that move only;
// - a body moving at a set speed (kinematic) is judged again when Box2D has grown its box, at
//   most every kKinematicRounds steps;
// - inside the step, as the world's contact filter, each new pair is counted at its smaller
//   body: one past kMaxContactsAt gets no further contact and is judged before the next step.
//   Past kMaxContacts in the world no new pair gets one, and both bodies are judged.

#include <box2d/box2d.h>

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

class KXPObject;

class KXPBodyCrowding : public b2ContactFilter, public b2DestructionListener {
public:
    static constexpr int kMaxPiledBodies = 8;
    static constexpr int kMaxContactsAt = 128;
    static constexpr int kMaxPairs = 256;
    // A body made to stand still (a coin) is paired by Box2D in its first step, once, with every
    // box it overlaps, and never again while nothing moves: it counts the still bodies made with
    // it (and those that move) against a bound of its own. The guns of characters, all at the
    // layer's origin, are such a pile.
    static constexpr int kMaxStillPairs = 512;
    static constexpr int kBusyBoxes = 32;
    static constexpr uint32_t kKinematicRounds = 30;
    // Contacts the world holds at most, whatever lies where.
    static constexpr int32 kMaxContacts = 1 << 18;

    // Which bodies go first from a crowd, which only from a crowd of their own rank (the
    // characters, without which there is no game), and which never (the field's own).
    enum class Rank { first, last, never };
    using RankOf = std::function<Rank(b2Body*)>;
    // The game's rule: characters last, bodies of no object never, every other first.
    static Rank gameRankOf(b2Body* body);
    // The type a body has once set moving (a unit is made still and set moving when woken).
    using MotionOf = std::function<b2BodyType(b2Body*)>;
    static b2BodyType gameMotionOf(b2Body* body);

    // What judging a body found; counting stops past the bounds.
    struct Count {
        int piled = 0;
        int contacts = 0;
        int pairs = 0;
        // Counted at a body standing still.
        bool still = false;
        bool crowded() const {
            return piled > kMaxPiledBodies || contacts > kMaxContactsAt ||
                   pairs > (still ? kMaxStillPairs : kMaxPairs);
        }
    };
    // The one line and trace line for an object whose body is left out of the physics: from its
    // own crowd (`crowded` null or itself) or from the crowd around that character.
    static void sayLeftOut(const KXPObject& object, const Count& count, const KXPObject* crowded);

    explicit KXPBodyCrowding(RankOf rankOf = gameRankOf, MotionOf motionOf = gameMotionOf);
    KXPBodyCrowding(const KXPBodyCrowding&) = delete;
    KXPBodyCrowding& operator=(const KXPBodyCrowding&) = delete;

    // Becomes the world's contact filter and destruction listener; the world must not outlive it
    // while it steps.
    void watch(b2World& world);
    // The crowding watching the body's world (or the world), or null.
    static KXPBodyCrowding* of(const b2Body* body);
    static KXPBodyCrowding* of(const b2World& world);
    // Whether more than kBusyBoxes boxes of the broad phase would overlap a shape placed so: a body
    // made there enters the broad phase only once judged (made disabled, then enabled by
    // beforeStep), for Box2D takes a body out of it at a cost that grows with the bodies made in
    // the same step. Made side by side, a body's box overlaps a couple of dozen at most.
    static bool isBusy(const b2World& world, const b2Shape& shape, const b2Transform& transform);

    // A body made or given new shapes (`made`), or whose type changed: judged before the next step.
    static void note(b2Body* body, bool made = false);
    // b2Body::SetTransform (outside the step only); judged before the next step when Box2D had to
    // grow its box.
    static void setTransform(b2Body* body, const b2Vec2& position, float angle);

    // Judges the bodies noted, moved or flagged since the last step, those ranked first before
    // those ranked last, newest first within each, so that the bodies already playing stay, then
    // the bodies made disabled in a busy place, oldest first, enabling each one not crowded. Each
    // body taken out is disabled and handed to `takenOut` with the count of the crowd and the
    // body crowded (itself, or the character it crowds). Answers how many were.
    using TakenOut = std::function<void(b2Body* body, const Count& count, b2Body* crowded)>;
    int beforeStep(b2World& world, const TakenOut& takenOut);

    // The overlaps around a body as it stands, counted against bodies at least as large (a
    // character: characters only), each as the type it moves as; a body that does not move
    // (`moving` false: still in motion too, and not moved by the game) counts only bodies that do
    // and still ones made since the last step.
    Count countAround(const b2World& world, b2Body& body, bool moving) const;
    // The body's size: the largest side of its shapes' bounds in its own frame, in metres.
    static float sizeOf(const b2Body& body);

    // b2ContactFilter: Box2D's own filtering, with each new pair counted.
    bool ShouldCollide(b2Fixture* fixtureA, b2Fixture* fixtureB) override;
    // b2DestructionListener: a body's fixtures go with it, and so does its record.
    void SayGoodbye(b2Joint* joint) override;
    void SayGoodbye(b2Fixture* fixture) override;

private:
    struct Record {
        uint64_t serial = 0;
        // Its size, rank and type in motion when last noted or judged.
        float size = 0.0f;
        Rank rank = Rank::never;
        b2BodyType motion = b2_staticBody;
        // Contacts counted at this body since they were last walked: more than it holds once some
        // have gone.
        int contacts = 0;
        // Pairs Box2D looked at and dropped in the step `proposalStep`.
        int proposals = 0;
        uint32_t proposalStep = 0;
        bool queued = false;
        // Made disabled where the broad phase was crowded: enabled once judged.
        bool pending = false;
        bool moved = false;
        bool flagged = false;
        // Its place among the kinematic bodies watched, or -1.
        int kinematicSlot = -1;
    };
    // What a box of the broad phase belongs to, kept by proxy id so that walking a crowd looks
    // nothing up; valid while `fixture` is the proxy's.
    struct ProxyInfo {
        const b2Fixture* fixture = nullptr;
        float size = 0.0f;
        Rank rank = Rank::never;
        b2BodyType motion = b2_staticBody;
        // The judging round in which its fixture was made.
        uint32_t round = 0;
        // The box Box2D held when its body was last judged, and when (kinematic bodies).
        b2AABB judgedBox{};
        uint32_t judgedRound = 0;
    };
    struct Overlap;
    class Query;

    enum class Change { made, changed, moved };
    void noteBody(b2Body* body, Change change);
    void keepProxies(b2Body& body, const Record& record, bool made);
    const ProxyInfo* proxyInfo(int32 proxyId, const b2Fixture* fixture) const;
    Record* find(const b2Body* body);
    const Record* findRecord(const b2Body* body) const;
    uint64_t serialOf(const b2Body* body) const;
    void queue(b2Body* body, Record& record);
    void flag(b2Body* body);
    // Judges one body; answers how many bodies it took out.
    int judge(b2World& world, b2Body& body, Rank rank, bool moving, const TakenOut& takenOut);
    void takeOut(b2Body& body, const Count& count, b2Body* crowded, const TakenOut& takenOut);
    // Counts a new pair at `counting` when `other` (of that size and rank) is at least as large;
    // true when the pair must not become a contact.
    bool countNewPair(b2Body* counting, Record& record, float otherSize, Rank otherRank, bool contact);
    // The contacts of the body that count at it, walked.
    int contactsAt(b2Body& body, float size) const;
    void collectMovedKinematics();
    void watchKinematic(b2Body* body, Record& record, bool kinematic);

    RankOf m_rankOf;
    MotionOf m_motionOf;
    std::unordered_map<const b2Body*, Record> m_records;
    std::vector<b2Body*> m_queue;
    std::vector<b2Body*> m_kinematics;
    std::vector<ProxyInfo> m_proxies;
    uint64_t m_nextSerial = 1;
    // Counts the judging rounds (one before each step).
    uint32_t m_step = 1;
};
