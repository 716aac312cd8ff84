#include "player/store/KXPSettingsController.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXBaseModelScreen.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPClock.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPScoreTable.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

using namespace cocos2d;

namespace {

KXPSettingsController* sharedController = nullptr;

constexpr float kRefillInterval = 1.0f;

std::string formatKey(const char* format, int index) {
    char key[64];
    std::snprintf(key, sizeof key, format, index);
    return key;
}

// The ":"-separated fields of a record; missing fields are empty and read as 0.
std::vector<std::string> splitFields(const std::string& text, size_t count) {
    std::vector<std::string> fields(count);
    size_t start = 0;
    for (size_t i = 0; i < count && start <= text.size(); ++i) {
        size_t end = text.find(':', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        fields[i] = text.substr(start, end - start);
        start = end + 1;
    }
    return fields;
}

// A decimal field: its leading number, 0 when there is none; saturated to the 64-bit range.
int64_t fieldNumber(const std::string& field) {
    errno = 0;
    return std::strtoll(field.c_str(), nullptr, 10);
}

template <typename Integer> Integer fieldAs(const std::string& field) {
    const int64_t value = fieldNumber(field);
    return static_cast<Integer>(
        std::clamp<int64_t>(value, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

int32_t clampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Time arithmetic on stored values, which may be anything: widened so it cannot overflow.
int32_t clampedDifference(int64_t later, int64_t earlier) {
    const __int128 difference = static_cast<__int128>(later) - earlier;
    return static_cast<int32_t>(std::clamp<__int128>(difference, INT32_MIN, INT32_MAX));
}

// The records of one kind: the count key says how many, but a damaged store may claim more than
// it holds, so reading stops at the first record that is missing.
template <typename Reader>
void readRecords(CCUserDefault* store, const char* countKey, const char* keyFormat, int count,
                 Reader reader) {
    for (int i = 0; i < count; ++i) {
        const std::string key = formatKey(keyFormat, i);
        const std::string value = store->getStringForKey(key.c_str());
        if (value.empty()) {
            debugLog("[KXPSettingsController] - %s says %d but %s is missing: the rest is skipped", countKey,
                     count, key.c_str());
            return;
        }
        reader(i, key, value);
    }
}

bool isChildOfAScreen(const KXModel& model) {
    for (const std::shared_ptr<KXModel>& parent : model.getParents()) {
        if (modelKindCast<KXBaseModelScreen>(parent)) {
            return true;
        }
    }
    return false;
}

} // namespace

KXPSettingsController* KXPSettingsController::shared() {
    if (sharedController == nullptr) {
        sharedController = new KXPSettingsController();
        sharedController->reset(false);
    }
    return sharedController;
}

void KXPSettingsController::purgeShared() {
    if (sharedController != nullptr) {
        KXPSettingsController* controller = sharedController;
        sharedController = nullptr;
        // The scheduler holds a reference while the timer is scheduled.
        CCDirector::sharedDirector()->getScheduler()->unscheduleAllForTarget(controller);
        controller->release();
    }
}

int64_t KXPSettingsController::now() {
    return kx::truncateToInteger<int64_t>(KXPClock::calendarSeconds());
}

KXPSettingsController::KXPSettingsController() {
    CCDirector::sharedDirector()->getScheduler()->scheduleSelector(
        schedule_selector(KXPSettingsController::update), this, kRefillInterval, false);
    // The screen models ask whether banners are bought away; they cannot see this layer.
    KXBaseModelScreen::setAdsRemovedQuery([] { return KXPSettingsController::shared()->isRemoveAds(); });
}

KXPSettingsController::~KXPSettingsController() {
    CCDirector::sharedDirector()->getScheduler()->unscheduleAllForTarget(this);
}

void KXPSettingsController::save() {
    if (!isGameDataLoaded()) {
        debugLog("[KXPSettingsController] - save while not loaded  = reset - issue prevented");
        return;
    }
    debugLog("[KXPSettingsController] - save");
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    store->setStringForKey(kVersionKey, KXModelGeneralSettings::shared()->zdVersion());
    store->setStringForKey(kScoresKey, serializeScores());
    store->setStringForKey(kLockStatesKey, serializeLockStates());
    store->setStringForKey(kCheckpointsKey, serializeCheckpoints());

    int index = 0;
    for (const auto& entry : m_refills) {
        const RefillRecord& record = entry.second;
        char value[96];
        std::snprintf(value, sizeof value, "%u:%d:%d:%lld", record.powerupId, record.count, record.period,
                      static_cast<long long>(record.start));
        store->setStringForKey(formatKey(kRefillKeyFormat, index++).c_str(), value);
    }
    store->setIntegerForKey(kRefillCountKey, index);

    index = 0;
    for (const auto& entry : m_inventory) {
        char value[32];
        std::snprintf(value, sizeof value, "%u:%d", entry.first, entry.second);
        store->setStringForKey(formatKey(kInventoryKeyFormat, index++).c_str(), value);
    }
    store->setIntegerForKey(kInventoryCountKey, index);

    index = 0;
    for (const auto& entry : m_characters) {
        char value[32];
        std::snprintf(value, sizeof value, "%u:%d", entry.first, entry.second ? 1 : 0);
        store->setStringForKey(formatKey(kCharacterKeyFormat, index++).c_str(), value);
    }
    store->setIntegerForKey(kCharactersCountKey, index);

    store->setIntegerForKey(kSelectedCharacterKey, m_selectedCharacter);
    store->setBoolForKey(kRemoveAdsKey, m_removeAds);
    store->setBoolForKey(kFullscreenKey, m_fullscreen);
    store->setBoolForKey(kMuteEffectsKey, muteEffects);
    store->setBoolForKey(kMuteBackgroundKey, muteBackground);
    if (store->flush()) {
        debugLog("[KXPSettingsController] - save complete");
    } else {
        debugLog("[KXPSettingsController] - save failed: progress is kept in memory for this run");
    }
}

void KXPSettingsController::load() {
    loadInventoryMap();
    debugLog("[KXPSettingsController] - load");
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    parseScores(store->getStringForKey(kVersionKey), store->getStringForKey(kScoresKey), false);
    parseLockStates(store->getStringForKey(kLockStatesKey));
    parseCheckpoints(store->getStringForKey(kCheckpointsKey));
    loadRefills();
    loadInventory();
    loadCharacters();
    m_selectedCharacter = store->getIntegerForKey(kSelectedCharacterKey);
    m_removeAds = store->getBoolForKey(kRemoveAdsKey);
    m_fullscreen = store->getBoolForKey(kFullscreenKey);
    muteEffects = store->getBoolForKey(kMuteEffectsKey);
    muteBackground = store->getBoolForKey(kMuteBackgroundKey);
    debugLog("[KXPSettingsController] - load complete");
}

void KXPSettingsController::loadRefills() {
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    const int count = store->getIntegerForKey(kRefillCountKey);
    readRecords(store, kRefillCountKey, kRefillKeyFormat, count,
                [this](int index, const std::string&, const std::string& value) {
                    debugLog("REFILL value: %s", value.c_str());
                    const std::vector<std::string> fields = splitFields(value, 4);
                    RefillRecord record;
                    record.powerupId = fieldAs<uint32_t>(fields[0]);
                    record.count = fieldAs<int32_t>(fields[1]);
                    record.period = fieldAs<int32_t>(fields[2]);
                    record.start = fieldNumber(fields[3]);
                    m_refills[record.powerupId] = record;
                    debugLog("REFILL %d: %u:%d:%d:%lu", index, record.powerupId, record.count, record.period,
                             static_cast<unsigned long>(record.start));
                });
}

void KXPSettingsController::loadInventory() {
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    const int count = store->getIntegerForKey(kInventoryCountKey);
    debugLog("invenotory count: %d", count);
    readRecords(store, kInventoryCountKey, kInventoryKeyFormat, count,
                [this](int, const std::string& key, const std::string& value) {
                    debugLog("load invenotory: %s = %s", key.c_str(), value.c_str());
                    const std::vector<std::string> fields = splitFields(value, 2);
                    m_inventory[fieldAs<uint32_t>(fields[0])] = fieldAs<int32_t>(fields[1]);
                });
}

void KXPSettingsController::loadCharacters() {
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    const int count = store->getIntegerForKey(kCharactersCountKey);
    debugLog("characters count: %d", count);
    readRecords(store, kCharactersCountKey, kCharacterKeyFormat, count,
                [this](int, const std::string& key, const std::string& value) {
                    debugLog("load character: %s = %s", key.c_str(), value.c_str());
                    const std::vector<std::string> fields = splitFields(value, 2);
                    m_characters[fieldAs<uint32_t>(fields[0])] = fieldNumber(fields[1]) == 1;
                });
}

void KXPSettingsController::reset(bool purge) {
    m_characters[0] = true;
    uint32_t index = 0;
    for (const std::shared_ptr<KXModelAssetCharacter>& character : getModels<KXModelAssetCharacter>()) {
        m_characters[index++] = character->purchaseMethod() == "kFree";
    }
    m_selectedCharacter = 0;
    m_refills.clear();
    m_inventory.clear();
    loadInventoryMap();
    if (purge) {
        const std::string path = CCUserDefault::getXMLFilePath();
        CCUserDefault::purgeSharedUserDefault();
        if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
            debugLog("[KXPSettingsController] - could not delete %s: %s", path.c_str(), std::strerror(errno));
        }
    }
}

void KXPSettingsController::update(float dt) {
    (void)dt;
    const int64_t time = now();
    std::vector<RefillRecord> granted;
    for (const auto& entry : m_refills) {
        const RefillRecord& record = entry.second;
        if (clampedDifference(time, record.start) >= record.period) {
            int32_t& count = m_inventory[entry.first];
            count = clampToInt32(static_cast<int64_t>(count) + 1);
            granted.push_back(record);
        }
    }
    for (const RefillRecord& record : granted) {
        m_refills.erase(record.powerupId);
        if (m_inventory[record.powerupId] < record.count) {
            startRefill(record.powerupId, record.period / 60, record.count);
        }
    }
}

bool KXPSettingsController::isCharacterUnlocked(uint32_t index) {
    auto it = m_characters.find(index);
    if (it != m_characters.end()) {
        return it->second;
    }
    const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters = getModels<KXModelAssetCharacter>();
    if (characters.empty()) {
        m_characters[index] = false;
        return false;
    }
    // No such character: locked, and nothing is stored for it.
    if (index >= characters.size()) {
        return false;
    }
    const bool unlocked = characters[index]->purchaseMethod() == "kFree";
    m_characters[index] = unlocked;
    return unlocked;
}

void KXPSettingsController::unlockCharacter(uint32_t index) {
    m_characters[index] = true;
}

int KXPSettingsController::inventoryCount(const std::shared_ptr<KXModelAssetPowerup>& powerup) {
    return powerup ? inventoryCount(powerup->id()) : 0;
}

void KXPSettingsController::setInventoryCount(const std::shared_ptr<KXModelAssetPowerup>& powerup,
                                              int count) {
    if (powerup) {
        setInventoryCount(powerup->id(), count);
    }
}

int KXPSettingsController::inventoryCount(uint32_t powerupId) {
    return m_inventory[powerupId];
}

void KXPSettingsController::setInventoryCount(uint32_t powerupId, int count) {
    m_inventory[powerupId] = count;
}

void KXPSettingsController::loadInventoryMap() {
    debugLog("[KXPSettingsController] - loadInventoryMap");
    for (const std::shared_ptr<KXModelObjectButtonPowerup>& button :
         getModels<KXModelObjectButtonPowerup>()) {
        if (!(button->maxRefill() > 0.0f) || !isChildOfAScreen(*button)) {
            continue;
        }
        const std::shared_ptr<KXModelAssetPowerup> powerup =
            getModel<KXModelAssetPowerup>(leadingId(button->powerupSelection()));
        if (!powerup) {
            continue;
        }
        const int count = kx::truncateToInt(button->maxRefill());
        m_inventory[powerup->id()] = count;
        debugLog("[KXPSettingsController] - refill - %d", count);
    }
}

void KXPSettingsController::startRefill(uint32_t powerupId, int minutes, int count) {
    if (m_refills.count(powerupId) != 0 || m_inventory[powerupId] >= count) {
        return;
    }
    RefillRecord record;
    record.start = now();
    record.period = clampToInt32(static_cast<int64_t>(minutes) * 60);
    record.powerupId = powerupId;
    record.count = count;
    m_refills[powerupId] = record;
}

int KXPSettingsController::refillTimeLeft(uint32_t powerupId) const {
    auto it = m_refills.find(powerupId);
    if (it == m_refills.end()) {
        return 0;
    }
    const RefillRecord& record = it->second;
    const int32_t left = clampedDifference(record.start, now() - static_cast<int64_t>(record.period));
    return std::clamp<int32_t>(left, 0, std::max<int32_t>(record.period, 0));
}

int KXPSettingsController::screenPlayedCount(const std::string& screenKey) {
    std::string key = kScreenPlayedPrefix + screenKey;
    std::replace(key.begin(), key.end(), ' ', '_');
    return CCUserDefault::sharedUserDefault()->getIntegerForKey(key.c_str());
}

void KXPSettingsController::increaseScreenPlayedCount(const std::string& screenKey) {
    std::string key = kScreenPlayedPrefix + screenKey;
    std::replace(key.begin(), key.end(), ' ', '_');
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    const int count = store->getIntegerForKey(key.c_str());
    store->setIntegerForKey(key.c_str(), count < INT_MAX ? count + 1 : count);
    store->flush();
}

float selectedCharacterGameOverDelay() {
    return characterGameOverDelay(KXPSettingsController::shared()->selectedCharacter());
}
