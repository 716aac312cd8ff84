#include "player/objects/assets/KXPPathIndex.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelObjectAsset.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// Cells are numbered from -2^30 to 2^30 - 1 on each axis; an object further out (or at a place
// that is not a number) is kept in one cell of its own, which only searches reaching that far read.
constexpr int64_t kCellRange = int64_t{1} << 30;
constexpr double kLimit = static_cast<double>(KXPPathIndex::kCellSize) * static_cast<double>(kCellRange);

uint64_t packCell(int64_t x, int64_t y) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(static_cast<int32_t>(x))) << 32) |
           static_cast<uint64_t>(static_cast<uint32_t>(static_cast<int32_t>(y)));
}

const uint64_t kFarCell = packCell(INT32_MIN, INT32_MIN);

int64_t cellX(uint64_t cell) {
    return static_cast<int32_t>(static_cast<uint32_t>(cell >> 32));
}

int64_t cellY(uint64_t cell) {
    return static_cast<int32_t>(static_cast<uint32_t>(cell));
}

// The cell column (or row) of a coordinate of a search's box, held within one cell of the range.
int64_t cellCoordinate(double value) {
    if (value <= -kLimit) {
        return -kCellRange - 1;
    }
    if (value >= kLimit) {
        return kCellRange;
    }
    return static_cast<int64_t>(std::floor(value / static_cast<double>(KXPPathIndex::kCellSize)));
}

// What a path may catch at all, whatever it takes: the conditions of KXPObjectAssetPath's scan and
// carry, less the place and the path's filter.
bool catchable(const KXPObjectAsset& object) {
    return object.getBody() != nullptr && (object.getType() & KXPObject::kTypeCarriedByPath) == 0 &&
           object.getState() != KXPObject::kStateDead && object.getState() != KXPObject::kStateRemoved;
}

uint64_t s_nextSerial = 1;

} // namespace

KXPPathIndex* KXPPathIndex::of(CCNode* layer) {
    if (layer == nullptr) {
        return nullptr;
    }
    if (auto* index = dynamic_cast<KXPPathIndex*>(layer->getChildWatch())) {
        return index;
    }
    auto* index = new KXPPathIndex(layer);
    layer->setChildWatch(index);
    return index;
}

KXPPathIndex::KXPPathIndex(CCNode* layer) : m_layer(layer), m_serial(s_nextSerial++) {
    if (CCArray* children = layer->getChildren()) {
        for (CCObject* item : children->data()) {
            ++m_lastOrder;
            if (KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item)) {
                track(object, m_lastOrder);
            }
        }
    }
}

// Nothing is read through the entries' pointers: the children they name may be gone already when
// the layer goes.
KXPPathIndex::~KXPPathIndex() = default;

size_t KXPPathIndex::candidateCount() const {
    return m_all.size;
}

uint64_t KXPPathIndex::cellOf(const CCPoint& position) {
    const double x = position.x;
    const double y = position.y;
    if (!(std::fabs(x) < kLimit) || !(std::fabs(y) < kLimit)) {
        return kFarCell;
    }
    return packCell(static_cast<int64_t>(std::floor(x / static_cast<double>(kCellSize))),
                    static_cast<int64_t>(std::floor(y / static_cast<double>(kCellSize))));
}

void KXPPathIndex::track(KXPObjectAsset* object, uint64_t order) {
    Entry& entry = m_entries[object];
    entry.object = object;
    entry.order = order;
    refresh(entry);
}

void KXPPathIndex::refresh(Entry& entry) {
    KXPObjectAsset& object = *entry.object;
    Cells* wanted[kMaxSlots];
    int count = 0;
    if (catchable(object)) {
        wanted[count++] = &m_all;
        const uint32_t type = object.getType();
        if ((type & KXPObject::kTypeCharacter) != 0) {
            wanted[count++] = &m_characters;
        }
        if ((type & KXPObject::kTypeUnit) != 0) {
            wanted[count++] = &m_units;
            const auto model = object.assetModel();
            if (const auto asset = model ? model->asset() : nullptr) {
                wanted[count++] = &m_unitsOf[static_cast<int64_t>(asset->id())];
            }
        }
    }
    const uint64_t cell = count > 0 ? cellOf(object.getPosition()) : 0;
    bool same = count == entry.slotCount;
    for (int index = 0; same && index < count; ++index) {
        same = entry.slots[index].cells == wanted[index] && entry.slots[index].cell == cell;
    }
    if (same) {
        return;
    }
    leaveAll(entry);
    for (int index = 0; index < count; ++index) {
        entry.slots[index].entry = &entry;
        enter(entry.slots[index], *wanted[index], cell);
    }
    entry.slotCount = count;
}

void KXPPathIndex::leaveAll(Entry& entry) {
    for (int index = 0; index < entry.slotCount; ++index) {
        leave(entry.slots[index]);
    }
    entry.slotCount = 0;
}

void KXPPathIndex::enter(Slot& slot, Cells& cells, uint64_t cell) {
    std::vector<Slot*>& list = cells.cells[cell];
    slot.cells = &cells;
    slot.cell = cell;
    slot.index = static_cast<uint32_t>(list.size());
    list.push_back(&slot);
    ++cells.size;
}

void KXPPathIndex::leave(Slot& slot) {
    Cells& cells = *slot.cells;
    const auto found = cells.cells.find(slot.cell);
    std::vector<Slot*>& list = found->second;
    Slot* last = list.back();
    list[slot.index] = last;
    last->index = slot.index;
    list.pop_back();
    if (list.empty()) {
        cells.cells.erase(found);
    }
    --cells.size;
    slot.cells = nullptr;
}

KXPPathIndex::Cells* KXPPathIndex::groupOf(Group group, int64_t assetId) {
    switch (group) {
    case kCharacters:
        return &m_characters;
    case kUnits: {
        if (assetId < 0) {
            return &m_units;
        }
        const auto found = m_unitsOf.find(assetId);
        return found == m_unitsOf.end() ? nullptr : &found->second;
    }
    default:
        return &m_all;
    }
}

// --- children ---

void KXPPathIndex::childAdded(CCNode* child) {
    KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(child);
    if (object == nullptr) {
        return;
    }
    // An addition appends to the children; should a subclass of the layer put it elsewhere, the
    // order is read again before it is next needed.
    if (m_layer->getChildren() == nullptr || m_layer->getChildren()->lastObject() != child) {
        m_orderStale = true;
    }
    track(object, ++m_lastOrder);
}

void KXPPathIndex::childRemoved(CCNode* child) {
    KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(child);
    if (object == nullptr) {
        return;
    }
    const auto found = m_entries.find(object);
    if (found != m_entries.end()) {
        leaveAll(found->second);
        m_entries.erase(found);
    }
}

void KXPPathIndex::childMoved(CCNode* child) {
    KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(child);
    if (object == nullptr) {
        return;
    }
    const auto found = m_entries.find(object);
    if (found == m_entries.end() || found->second.slotCount == 0) {
        return;
    }
    Entry& entry = found->second;
    const uint64_t cell = cellOf(object->getPosition());
    if (cell == entry.slots[0].cell) {
        return;
    }
    for (int index = 0; index < entry.slotCount; ++index) {
        Slot& slot = entry.slots[index];
        Cells& cells = *slot.cells;
        leave(slot);
        enter(slot, cells, cell);
    }
}

void KXPPathIndex::childrenReordered() {
    m_orderStale = true;
}

void KXPPathIndex::childChanged(CCNode* child) {
    KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(child);
    if (object == nullptr) {
        return;
    }
    const auto found = m_entries.find(object);
    if (found != m_entries.end()) {
        refresh(found->second);
    }
}

void KXPPathIndex::renumber() {
    uint64_t order = 0;
    if (CCArray* children = m_layer->getChildren()) {
        for (CCObject* item : children->data()) {
            ++order;
            if (KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item)) {
                const auto found = m_entries.find(object);
                if (found != m_entries.end()) {
                    found->second.order = order;
                }
            }
        }
    }
    m_lastOrder = order;
    m_orderStale = false;
}

// --- searches ---

void KXPPathIndex::endPass() {
    m_resumeAt = m_refusedThisPass ? m_refusedAt : 0;
    m_refusedThisPass = false;
    ++m_pass;
    m_asked = 0;
    m_checks = 0;
}

bool KXPPathIndex::takeTurn(Turn& turn) {
    if (turn.index == m_serial && turn.pass == m_pass) {
        endPass();
    }
    turn.index = m_serial;
    turn.pass = m_pass;
    const uint64_t number = m_asked++;
    if (number < m_resumeAt) {
        return false;
    }
    if (m_checks < kChecksPerPass) {
        return true;
    }
    if (!m_refusedThisPass) {
        m_refusedThisPass = true;
        m_refusedAt = number;
    }
    if (!m_budgetRanOut) {
        m_budgetRanOut = true;
        debugLog("[KXPPathIndex] the paths of this layer looked at %llu cells and objects in one frame, past "
                 "the budget of %llu: from path %llu on they search in the next frame, and so on in turn",
                 static_cast<unsigned long long>(m_checks), static_cast<unsigned long long>(kChecksPerPass),
                 static_cast<unsigned long long>(number + 1));
    }
    return false;
}

void KXPPathIndex::examine(const std::vector<Slot*>& slots, const CCPoint& origin, float radius,
                           std::vector<Entry*>& hits) {
    m_checks += slots.size();
    for (const Slot* slot : slots) {
        // The measure of KXPObjectAssetPath's scan, on the object's own position.
        if (ccpDistance(slot->entry->object->getPosition(), origin) <= radius) {
            hits.push_back(slot->entry);
        }
    }
}

void KXPPathIndex::find(Group group, int64_t assetId, const CCPoint& origin, float radius,
                        std::vector<KXPObjectAsset*>& found) {
    Cells* cells = groupOf(group, assetId);
    // A distance is never below 0 and never at most a radius that is not a number.
    if (cells == nullptr || cells->size == 0 || !(radius >= 0.0f)) {
        return;
    }
    const double x = origin.x;
    const double y = origin.y;
    const double reach = radius;
    std::vector<Entry*> hits;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(reach)) {
        // From an infinite origin only an infinite radius reaches anything (the objects at finite
        // places, at an infinite distance); an infinite radius may reach everything.
        if (std::isinf(reach) && !std::isnan(x) && !std::isnan(y)) {
            for (const auto& cell : cells->cells) {
                ++m_checks;
                examine(cell.second, origin, radius, hits);
            }
        }
    } else {
        // The search's box, grown by far more than the float measure can round by (a few parts in
        // ten million of the distances involved).
        const double margin = 1.0 + (std::fabs(x) + std::fabs(y) + reach) * 1e-5;
        const double left = x - reach - margin;
        const double right = x + reach + margin;
        const double bottom = y - reach - margin;
        const double top = y + reach + margin;
        const bool far = !(std::fabs(left) < kLimit && std::fabs(right) < kLimit &&
                           std::fabs(bottom) < kLimit && std::fabs(top) < kLimit);
        const int64_t x0 = std::max(cellCoordinate(left), -kCellRange);
        const int64_t x1 = std::min(cellCoordinate(right), kCellRange - 1);
        const int64_t y0 = std::max(cellCoordinate(bottom), -kCellRange);
        const int64_t y1 = std::min(cellCoordinate(top), kCellRange - 1);
        const uint64_t span = x0 <= x1 && y0 <= y1
                                  ? static_cast<uint64_t>(x1 - x0 + 1) * static_cast<uint64_t>(y1 - y0 + 1)
                                  : 0;
        if (span <= cells->cells.size()) {
            for (int64_t row = y0; span > 0 && row <= y1; ++row) {
                for (int64_t column = x0; column <= x1; ++column) {
                    ++m_checks;
                    const auto cell = cells->cells.find(packCell(column, row));
                    if (cell != cells->cells.end()) {
                        examine(cell->second, origin, radius, hits);
                    }
                }
            }
            if (far) {
                ++m_checks;
                const auto cell = cells->cells.find(kFarCell);
                if (cell != cells->cells.end()) {
                    examine(cell->second, origin, radius, hits);
                }
            }
        } else {
            for (const auto& cell : cells->cells) {
                ++m_checks;
                if (cell.first == kFarCell) {
                    if (far) {
                        examine(cell.second, origin, radius, hits);
                    }
                    continue;
                }
                const int64_t column = cellX(cell.first);
                const int64_t row = cellY(cell.first);
                if (column >= x0 && column <= x1 && row >= y0 && row <= y1) {
                    examine(cell.second, origin, radius, hits);
                }
            }
        }
    }
    if (hits.size() > 1) {
        if (m_orderStale) {
            renumber();
        }
        std::sort(hits.begin(), hits.end(),
                  [](const Entry* a, const Entry* b) { return a->order < b->order; });
    }
    found.reserve(found.size() + hits.size());
    for (const Entry* hit : hits) {
        found.push_back(hit->object);
    }
}
