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

CCMenuItem* KXPButtonHighlight::highlighted(const KXPScreen& screen) {
    if (m_item == nullptr) {
        return nullptr;
    }
    bool inMap = false;
    for (const auto& entry : screen.objectMap()) {
        if (entry.second == m_item && entry.first == m_model) {
            inMap = true;
            break;
        }
    }
    if (!inMap) {
        // Gone with its screen's objects: nothing to put back.
        m_item = nullptr;
        m_model.reset();
        return nullptr;
    }
    if (!m_item->isEnabled() || !isShown(m_item)) {
        // Hidden or disabled since: it must not show lit when it comes back.
        unhighlight();
        return nullptr;
    }
    return m_item;
}

void KXPButtonHighlight::highlight(const Item& item) {
    m_item = item.item;
    m_model = item.model;
    // A muted sound button keeps its look; the others take the pressed look.
    if (!m_item->isSelected()) {
        m_item->selected();
    }
}

void KXPButtonHighlight::unhighlight() {
    if (m_item != nullptr && m_item->isSelected() && !showsMutedSound(m_model)) {
        m_item->unselected();
    }
    m_item = nullptr;
    m_model.reset();
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
        current = m_item;
    }
    const CCPoint reference = current != nullptr ? current->getPosition() : CCPointZero;

    float best = kFarAway;
    float bestCross = kFarAway;
    const Item* candidate = nullptr;
    std::vector<std::pair<const Item*, Tie>> ties;
    for (const Item& entry : items) {
        if (entry.item == current) {
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
        unhighlight();
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
    if (chosen != nullptr && chosen->item != highlighted(screen)) {
        // One highlight per screen: the one before goes out.
        unhighlight();
        highlight(*chosen);
    }
}
