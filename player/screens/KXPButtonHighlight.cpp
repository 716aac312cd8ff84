#include "player/screens/KXPButtonHighlight.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectButton.h"
#include "player/screens/KXPScreen.h"
#include "player/sound/KXSoundController.h"
#include "player/store/KXPSettingsController.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// A sound button's selected look shows that its sound is muted.
bool showsMutedSound(const std::shared_ptr<KXModelObject>& model) {
    const auto button = modelKindCast<KXModelObjectButton>(model);
    if (!button) {
        return false;
    }
    const KXPSettingsController* settings = KXPSettingsController::shared();
    const std::string& action = button->action();
    if (action == KXSoundController::kMuteAllAction) {
        return settings->muteEffects && settings->muteBackground;
    }
    if (action == KXSoundController::kMuteEffectsAction) {
        return settings->muteEffects;
    }
    if (action == KXSoundController::kMuteMusicAction) {
        return settings->muteBackground;
    }
    return false;
}

struct Tie {
    CCMenuItem* item;
    float main;
    float cross;
};

} // namespace

bool KXPButtonHighlight::isShown(CCNode* node) {
    for (; node != nullptr; node = node->getParent()) {
        if (!node->isVisible()) {
            return false;
        }
    }
    return true;
}

std::vector<KXPButtonHighlight::Item> KXPButtonHighlight::navigableItems(const KXPScreen& screen) {
    std::vector<Item> items;
    for (const auto& entry : screen.objectMap()) {
        CCMenuItem* item = dynamic_cast<CCMenuItem*>(entry.second);
        if (item == nullptr || !entry.first || !item->isEnabled() || !isShown(item)) {
            continue;
        }
        items.push_back(Item{item, entry.first});
    }
    // The map is ordered by model address, which differs from run to run.
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (a.model->zDepth() != b.model->zDepth()) {
            return a.model->zDepth() < b.model->zDepth();
        }
        return a.model->id() < b.model->id();
    });
    return items;
}

bool KXPButtonHighlight::isLit(const CCMenuItem* item) const {
    return std::any_of(m_lit.begin(), m_lit.end(), [item](const Item& lit) { return lit.item == item; });
}

void KXPButtonHighlight::dropGone(const KXPScreen& screen) {
    const std::vector<Item> lit = m_lit;
    for (const Item& entry : lit) {
        bool inMap = false;
        for (const auto& mapped : screen.objectMap()) {
            if (mapped.second == entry.item && mapped.first == entry.model) {
                inMap = true;
                break;
            }
        }
        if (!inMap) {
            // Gone with its screen's objects: nothing to put back.
            m_lit.erase(std::remove_if(m_lit.begin(), m_lit.end(),
                                       [&entry](const Item& each) { return each.item == entry.item; }),
                        m_lit.end());
        } else if (!entry.item->isEnabled() || !isShown(entry.item)) {
            // Hidden or disabled since: it must not show lit when it comes back.
            unhighlight(entry.item);
        }
    }
}

CCMenuItem* KXPButtonHighlight::highlighted(const KXPScreen& screen) {
    if (m_lit.empty()) {
        return nullptr;
    }
    dropGone(screen);
    for (const Item& entry : navigableItems(screen)) {
        if (isLit(entry.item)) {
            return entry.item;
        }
    }
    return nullptr;
}

void KXPButtonHighlight::highlight(const Item& item) {
    if (!isLit(item.item)) {
        m_lit.push_back(item);
    }
    // A muted sound button keeps its look; the others take the pressed look.
    if (!item.item->isSelected()) {
        item.item->selected();
    }
}

void KXPButtonHighlight::unhighlight(CCMenuItem* item) {
    const auto found =
        std::find_if(m_lit.begin(), m_lit.end(), [item](const Item& lit) { return lit.item == item; });
    if (found == m_lit.end()) {
        return;
    }
    if (item->isSelected() && !showsMutedSound(found->model)) {
        item->unselected();
    }
    m_lit.erase(found);
}

void KXPButtonHighlight::hilightButton(const KXPScreen& screen, int direction) {
    debugLog("hlight button: %d", direction);
    if (direction < kUp || direction > kRight) {
        return;
    }
    const bool vertical = direction == kUp || direction == kDown;
    const float wantedSign = (direction == kUp || direction == kRight) ? 1.0f : -1.0f;

    const std::vector<Item> items = navigableItems(screen);
    CCMenuItem* current = highlighted(screen);
    if (current == nullptr && !items.empty()) {
        highlight(items.front());
        current = items.front().item;
    }
    const CCPoint reference = current != nullptr ? current->getPosition() : CCPointZero;

    float best = kFarAway;
    float bestCross = kFarAway;
    const Item* candidate = nullptr;
    std::vector<std::pair<const Item*, Tie>> ties;
    for (const Item& entry : items) {
        if (isLit(entry.item)) {
            continue;
        }
        const CCPoint position = entry.item->getPosition();
        const float main = vertical ? position.y - reference.y : position.x - reference.x;
        const float cross = vertical ? position.x - reference.x : position.y - reference.y;
        if (std::fabs(cross) > kCrossWindow) {
            continue;
        }
        // Strictly that way: a button level with the reference is never reached on this axis.
        if (main * wantedSign <= 0.0f) {
            continue;
        }
        if (std::fabs(main) < best) {
            best = std::fabs(main);
            candidate = &entry;
        }
        if (std::fabs(main) == best) {
            ties.emplace_back(&entry, Tie{entry.item, main, cross});
        }
    }
    debugLog("selected button pos: %f %f", reference.x, reference.y);
    // Among the nearest along the direction, the nearest across it; the first one on a tie.
    for (const auto& tie : ties) {
        const CCPoint position = tie.second.item->getPosition();
        debugLog("checking buttons with same axis distance: %f %f", position.x, position.y);
        if (std::fabs(tie.second.main) == best && std::fabs(tie.second.cross) < bestCross) {
            bestCross = std::fabs(tie.second.cross);
            candidate = tie.first;
        }
    }
    // No button that way: the highlight stays.
    if (candidate != nullptr) {
        unhighlight(current);
        highlight(*candidate);
    }
}

void KXPButtonHighlight::pressHilightButton(const KXPScreen& screen) {
    debugLog("press hilight button");
    CCMenuItem* item = highlighted(screen);
    if (item == nullptr) {
        return;
    }
    debugLog("button activated");
    // The button's action may take the screen and its buttons down.
    CCObject* held = item;
    held->retain();
    item->activate();
    held->release();
}

void KXPButtonHighlight::hilightDefaultButton(const KXPScreen& screen) {
    debugLog("KXPScreenUi -  hilightDefaultButton");
    const std::vector<Item> items = navigableItems(screen);
    int best = 0;
    const Item* chosen = nullptr;
    for (const Item& entry : items) {
        if (entry.model->zDepth() >= best) {
            best = entry.model->zDepth();
            chosen = &entry;
        }
    }
    if (chosen != nullptr) {
        dropGone(screen);
        highlight(*chosen);
    }
}
