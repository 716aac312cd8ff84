#pragma once

// What the paths of one object layer may catch, kept up to date as the layer's children change, so
// that each path finds the objects within its search radius without looking at every child.
//
// The index is the layer's child watch (cocos2d::CCChildWatch), made by the first path that asks
// and owned by the layer. It holds the layer's asset children that a path may catch now (a body,
// not dead or removed, not carried by a path), in a grid of 64-point cells, once among all of them
// and once in each group a path can ask for: the characters, the units, and the units of each
// asset. The engine tells it of every child added or removed (a removed child leaves before it can
// be freed), of every position change, and of a sort that reorders the children; the objects tell
// it when their type flags (carried or let go), state or body change (KXPObject::setType and
// setState, KXPObjectAsset::addToWorld). An object's asset is read when it is placed or changes:
// every setAsset of the player comes before the object is made. A search answers exactly the
// objects of its group within the radius, by the same measure a scan of the children uses
// (ccpDistance(object, origin) <= radius), in the order of the layer's children.
//
// Budget: all the searches of one pass (a frame: it begins when a path asks a second time) may
// look at kChecksPerPass cells and objects together. A valid level uses a few hundred; only
// thousands of paths over one dense spot come near. A path that asks once the budget is spent
// does not search in that pass; the next pass begins with it (the paths before it wait for the
// pass after), so in turn every path searches. The first time, one debug log line says so.

#include "cocos2d.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class KXPObjectAsset;

class KXPPathIndex final : public cocos2d::CCChildWatch {
public:
    // The groups a search may ask for.
    enum Group { kAll = 0, kCharacters = 1, kUnits = 2 };
    static constexpr float kCellSize = 64.0f;
    static constexpr uint64_t kChecksPerPass = 1000000;

    // A path's place in the passes, kept by the path.
    struct Turn {
        uint64_t index = 0;
        uint64_t pass = 0;
    };

    // The layer's index: made, filled from the layer's children and set as the layer's child watch
    // at the first call. Null for a null layer.
    static KXPPathIndex* of(cocos2d::CCNode* layer);

    explicit KXPPathIndex(cocos2d::CCNode* layer);
    ~KXPPathIndex() override;

    // Whether the asking path searches in this pass (see Budget above).
    bool takeTurn(Turn& turn);
    // Appends to `found`, in the layer's child order, the objects of the group (kUnits with an
    // asset id of 0 or more: the units of that asset) within `radius` of `origin`.
    void find(Group group, int64_t assetId, const cocos2d::CCPoint& origin, float radius,
              std::vector<KXPObjectAsset*>& found);

    // For tests and traces.
    size_t trackedCount() const { return m_entries.size(); }
    size_t candidateCount() const;
    uint64_t checksThisPass() const { return m_checks; }
    bool budgetRanOut() const { return m_budgetRanOut; }

    // cocos2d::CCChildWatch
    void childAdded(cocos2d::CCNode* child) override;
    void childRemoved(cocos2d::CCNode* child) override;
    void childMoved(cocos2d::CCNode* child) override;
    void childrenReordered() override;
    void childChanged(cocos2d::CCNode* child) override;

private:
    struct Entry;
    struct Cells;
    // An entry's place in one group's grid.
    struct Slot {
        Entry* entry = nullptr;
        Cells* cells = nullptr;
        uint64_t cell = 0;
        uint32_t index = 0;
    };
    static constexpr int kMaxSlots = 4;
    struct Entry {
        KXPObjectAsset* object = nullptr;
        // Grows with the place in the layer's children (valid while m_orderStale is false).
        uint64_t order = 0;
        int slotCount = 0;
        Slot slots[kMaxSlots];
    };
    struct Cells {
        std::unordered_map<uint64_t, std::vector<Slot*>> cells;
        size_t size = 0;
    };

    static uint64_t cellOf(const cocos2d::CCPoint& position);
    void track(KXPObjectAsset* object, uint64_t order);
    // Puts the entry in the groups and the cell it belongs in now.
    void refresh(Entry& entry);
    void leaveAll(Entry& entry);
    static void enter(Slot& slot, Cells& cells, uint64_t cell);
    static void leave(Slot& slot);
    Cells* groupOf(Group group, int64_t assetId);
    void examine(const std::vector<Slot*>& slots, const cocos2d::CCPoint& origin, float radius,
                 std::vector<Entry*>& hits);
    void renumber();
    void endPass();

    cocos2d::CCNode* m_layer;
    uint64_t m_serial;
    std::unordered_map<KXPObjectAsset*, Entry> m_entries;
    Cells m_all;
    Cells m_characters;
    Cells m_units;
    std::unordered_map<int64_t, Cells> m_unitsOf;
    uint64_t m_lastOrder = 0;
    bool m_orderStale = false;

    uint64_t m_pass = 1;
    uint64_t m_asked = 0;
    uint64_t m_checks = 0;
    uint64_t m_resumeAt = 0;
    uint64_t m_refusedAt = 0;
    bool m_refusedThisPass = false;
    bool m_budgetRanOut = false;
};
