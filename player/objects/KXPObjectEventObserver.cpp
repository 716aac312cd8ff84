#include "player/objects/KXPObjectEventObserver.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameField.h"
#include "player/screens/KXPScreenUi.h"
#include "player/services/KXServices.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"

#include <cstring>

using namespace cocos2d;

namespace {
struct ScoreEvent {
    const char* type;
    // 0 distance, 1 points, 2 coins; 0 session, 1 total, 2 best.
    int figure;
    int kind;
    const char* log;
};

const ScoreEvent kScoreEvents[] = {
    {"kScoreSessionDistance", 0, 0, "[KXPObjectEventObserver] an event observer got session distance limit"},
    {"kScoreSessionPoints", 1, 0, "[KXPObjectEventObserver] an event observer got session points limit"},
    {"kScoreSessionCoins", 2, 0, "[KXPObjectEventObserver] an event observer got session coins limit"},
    {"kScoreTotalDistance", 0, 1, "[KXPObjectEventObserver] an event observer got total distance limit"},
    {"kScoreTotalPoints", 1, 1, "[KXPObjectEventObserver] an event observer got total points limit"},
    {"kScoreTotalCoins", 2, 1, "[KXPObjectEventObserver] an event observer got total coins limit"},
    {"kScoreBestDistance", 0, 2, "[KXPObjectEventObserver] an event observer got best distance limit"},
    {"kScoreBestPoints", 1, 2, "[KXPObjectEventObserver] an event observer got best points limit"},
    {"kScoreBestCoins", 2, 2, "[KXPObjectEventObserver] an event observer got best coins limit"},
};

template <typename T> float pick(const KXPCurrencyValue<T>& value, int kind) {
    switch (kind) {
    case 0:
        return static_cast<float>(value.session);
    case 1:
        return static_cast<float>(value.total);
    default:
        return static_cast<float>(value.best);
    }
}
} // namespace

KXPObjectEventObserver*
KXPObjectEventObserver::create(const std::shared_ptr<KXModelObjectEventObserver>& model) {
    KXPObjectEventObserver* observer = new KXPObjectEventObserver();
    observer->setModel(model);
    observer->autorelease();
    return observer;
}

void KXPObjectEventObserver::setModel(const std::shared_ptr<KXModelObjectEventObserver>& model) {
    m_model = model;
    m_remainingTime = model ? static_cast<float>(model->time()) / 1000.0f : 0.0f;
}

bool KXPObjectEventObserver::reviewDue(int playCount, float playsBeforeRedirect) {
    const int plays = kx::truncateToInt(playsBeforeRedirect);
    // No remainder by zero (or by a negative count): such an observer asks for nothing.
    if (plays <= 0) {
        return false;
    }
    // Only the divisor is truncated: plays with a fraction never match a remainder.
    return static_cast<double>(playCount % plays) == static_cast<double>(playsBeforeRedirect) - 1.0;
}

bool KXPObjectEventObserver::isLastLevelSection(uint32_t sectionId) {
    if (sectionId == 0) {
        return false;
    }
    const std::shared_ptr<KXModelLevelSection> start = getModel<KXModelLevelSection>(sectionId);
    const std::shared_ptr<KXModel> parent = start ? start->getFirstParent() : nullptr;
    // A section without a live parent has no siblings to be the last of.
    if (!parent) {
        return false;
    }
    bool found = false;
    for (const std::shared_ptr<KXModelLevelSection>& section : getModels<KXModelLevelSection>()) {
        const std::shared_ptr<KXModel> sectionParent = section->getFirstParent();
        if (!sectionParent || sectionParent->id() != parent->id()) {
            continue;
        }
        if (section->id() == sectionId) {
            found = true;
        } else if (found) {
            return false;
        }
    }
    return found;
}

bool KXPObjectEventObserver::scoreFigure(const std::string& eventType, float* figure, const char** logLine) {
    for (const ScoreEvent& event : kScoreEvents) {
        if (eventType != event.type) {
            continue;
        }
        // Coins are counted in the global record; distance and points per world.
        const KXPScoreRecord& record = event.figure == 2 ? worldScores("") : currentWorldScores();
        switch (event.figure) {
        case 0:
            *figure = pick(record.distance, event.kind);
            break;
        case 1:
            *figure = pick(record.points, event.kind);
            break;
        default:
            *figure = pick(record.coins, event.kind);
            break;
        }
        *logLine = event.log;
        return true;
    }
    return false;
}

int KXPObjectEventObserver::takePlayCount(KXPScreenUi* ui) {
    const std::shared_ptr<KXModelScreen> screen = ui->model();
    const std::string key = screen ? screen->key() : std::string();
    KXPSettingsController* settings = KXPSettingsController::shared();
    const int count = settings->screenPlayedCount(key);
    settings->increaseScreenPlayedCount(key);
    return count;
}

void KXPObjectEventObserver::fire(KXPScreenUi* ui, int openMode) {
    const bool fromCheckpoint = m_model->function() == kStartCheckpointEvent;
    ui->scheduleCall(m_model->name(), 0, !fromCheckpoint, m_model->pauseCurrentWorld() ? 0 : 1, openMode);
}

void KXPObjectEventObserver::update(float dt) {
    CCNode::update(dt);
    KXPScreensController* screens = KXPScreensController::shared();
    KXPScreenUi* ui = screens->currentUi();
    if (ui == nullptr || !m_model) {
        return;
    }
    const std::string& type = m_model->eventType();
    if (type == kGameOver) {
        KXPGameField* field = screens->currentScreenScene();
        if (field != nullptr && field->isGameOver()) {
            debugLog("[KXPObjectEventObserver] Got Game OVER in observer");
            fire(ui, 0);
        }
        return;
    }
    if (type == kSecondPlay || type == kRequestReview || type == kLastScene) {
        if (!m_armed) {
            return;
        }
        m_armed = false;
        if (type == kSecondPlay) {
            if (static_cast<float>(takePlayCount(ui)) >= m_model->playsBeforeRedirect()) {
                fire(ui, 1);
            }
        } else if (type == kRequestReview) {
            if (reviewDue(takePlayCount(ui), m_model->playsBeforeRedirect())) {
                KXServices::shared()->requestReview();
            }
        } else if (isLastLevelSection(screens->currentLevelSectionId())) {
            debugLog("[KXPObjectEventObserver] Got \"Last Scene\" event in observer");
            fire(ui, 1);
        }
        return;
    }
    if (type == kTimeout) {
        m_remainingTime -= dt;
        if (m_remainingTime <= 0.0f) {
            fire(ui, 1);
        }
        return;
    }
    float figure = 0.0f;
    const char* logLine = nullptr;
    if (scoreFigure(type, &figure, &logLine) && figure >= m_model->limitNumber()) {
        debugLog("%s", logLine);
        fire(ui, 1);
    }
}
