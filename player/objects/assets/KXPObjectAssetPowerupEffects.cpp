// Powerup objects: what collection does (look, sound, labels, camera, rewards, the effect of the
// type) and how the end of the effect undoes it.

#include "player/objects/assets/KXPObjectAssetPowerup.h"

#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPLevelField.h"
#include "player/base/KXPTrace.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPScoreTable.h"

#include <algorithm>
#include <climits>
#include <cstdio>

using namespace cocos2d;

namespace {
// Scores never wrap: a sum past the 32-bit range stays at its edge.
int32_t addClamped(int32_t value, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(value) + amount;
    return static_cast<int32_t>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, sum)));
}

void credit(KXPScoreCount& figure, int amount) {
    figure.session = addClamped(figure.session, amount);
    figure.total = addClamped(figure.total, amount);
    figure.best = std::max(figure.best, figure.session);
}

void creditRecord(KXPScoreRecord& record, int coins, int points) {
    credit(record.coins, coins);
    credit(record.points, points);
}

// The registered characters that are character objects.
std::vector<KXPObjectAssetCharacter*> registeredCharacters() {
    std::vector<KXPObjectAssetCharacter*> result;
    for (KXPControlledCharacter* controlled : KXPInputController::shared()->characters()) {
        if (auto* character = dynamic_cast<KXPObjectAssetCharacter*>(controlled->characterObject())) {
            result.push_back(character);
        }
    }
    return result;
}

void setWorldGravity(KXPLevelField* field) {
    if (field == nullptr || field->getWorld() == nullptr) {
        return;
    }
    const CCPoint gravity = KXPGameplaySettings::shared()->getGravity();
    field->getWorld()->SetGravity(KXPPhysicsLimits::gravity(gravity.x, gravity.y));
    kxTrace("gameplay", "gravity x=%.3f y=%.3f", gravity.x, gravity.y);
}

void playSound(const std::shared_ptr<KXModelSound>& model, KXSound** kept) {
    KXSound* sound = new KXSound(model, KXSound::kGameObjectGroup);
    sound->setAutoDelete(true);
    if (kept != nullptr) {
        // The sound of an earlier pickup plays on by itself: only the newest is kept, and only it
        // may reach back into its keeper, which lets go of it when it goes.
        if (*kept != nullptr) {
            (*kept)->setReleaseHook(nullptr);
        }
        *kept = sound;
        sound->setReleaseHook([kept] { *kept = nullptr; });
    }
    sound->play(false, false);
}
} // namespace

void KXPObjectAssetPowerup::apply() {
    if (m_collected) {
        return;
    }
    m_collected = true;
    KXPLevelField* field = runningLevel();
    const std::shared_ptr<KXModelObjectAssetPowerup> model = powerupModel();
    if (!model) {
        return;
    }
    // The start look; one meant for the character is left out once no character lives.
    if (m_startAnimationNode != nullptr &&
        (!m_characterConstraint || KXPInputController::shared()->hasLiveCharacters())) {
        m_startAnimationNode->restart();
        if (m_startAnimationNode->getParent() == nullptr) {
            addChild(m_startAnimationNode, m_startAnimationNode->getZOrder());
        }
        m_startAnimationNode->setVisible(true);
    }
    if (std::shared_ptr<KXModelSound> sound = model->startSound()) {
        playSound(sound, &m_startSound);
    }
    // A replacing powerup's idle look goes whether or not a start look takes its place.
    if (m_idleAnimationNode != nullptr && (m_characterConstraint || isReplace())) {
        m_idleAnimationNode->stop();
        m_idleAnimationNode->removeFromParentAndCleanup(false);
    }
    if (m_startAnimationNode != nullptr) {
        placeStartLookOnCharacter();
    }

    char text[16];
    if (m_coinLabel != nullptr) {
        std::snprintf(text, sizeof text, "%d", model->rewardCoins());
        m_coinLabel->setString(text);
        m_coinLabel->setVisible(true);
        m_coinLabelShown = true;
    }
    if (m_pointsLabel != nullptr) {
        std::snprintf(text, sizeof text, "%d", model->rewardPoints());
        m_pointsLabel->setString(text);
        m_pointsLabel->setVisible(true);
        m_pointsLabelShown = true;
    }
    if (field != nullptr && model->cameraFlash() > 0.0f) {
        field->flash(model->cameraFlash());
    }
    if (field != nullptr && model->cameraShake() > 0.0f) {
        field->shake(model->cameraShake());
    }
    creditRewards(field != nullptr);
    applyTypeEffect(field);
}

void KXPObjectAssetPowerup::creditRewards(bool inGame) {
    const std::shared_ptr<KXModelObjectAssetPowerup> model = powerupModel();
    const int coins = model->rewardCoins();
    const int points = model->rewardPoints();
    KXPScoreRecord& global = worldScores("");
    creditRecord(global, coins, points);
    if (inGame) {
        creditRecord(currentWorldScores(), coins, points);
    }
    if (kxTraceEnabled("score")) {
        // A powerup used from a button has no placed name: its asset's stands in.
        const std::shared_ptr<KXModelAssetPowerup> asset = model->assetPowerup();
        const std::string name = model->name().empty() && asset ? asset->name() : model->name();
        kxTrace("score", "powerup \"%s\" coins+%d points+%d session coins=%d points=%d", name.c_str(), coins,
                points, static_cast<int>(global.coins.session), static_cast<int>(global.points.session));
    }
}

void KXPObjectAssetPowerup::applyTypeEffect(KXPLevelField* field) {
    const std::string type = powerupType();
    kxTrace("powerups", "powerup effect type=%s in-game=%d", type.c_str(), field != nullptr ? 1 : 0);
    if (type == kTypeMagnet) {
        if (field != nullptr) {
            field->setMagnetActive(true);
        }
    } else if (type == kTypeStrike) {
        const std::shared_ptr<KXModelGeneralSettings> settings = KXModelGeneralSettings::shared();
        const bool landscape =
            settings && settings->orientation() == KXModelGeneralSettings::OrientationLandscape;
        for (KXPObjectAssetCharacter* character : registeredCharacters()) {
            character->addActivePowerup(this);
            // The character itself turns the push into a control-point move in direct movement.
            if (landscape) {
                character->setLinearVelocity(kStrikeSpeed, 0.0f);
            } else {
                character->setLinearVelocity(0.0f, kStrikeSpeed);
            }
        }
    } else if (type == kTypeInvincibility) {
        for (KXPObjectAssetCharacter* character : registeredCharacters()) {
            character->addActivePowerup(this);
        }
    } else if (type == kTypeKillAllEnemies) {
        if (field != nullptr) {
            field->killAllEnemies();
        }
    } else if (type == kTypeCheckpoint) {
        if (field != nullptr) {
            field->activateCheckpoint(positionInObjectLayer(), levelSectionId());
        }
    } else if (type == kTypeRestartCheckpoint) {
        if (field != nullptr) {
            field->setPendingRequest(KXPLevelField::kRequestResumeFromUi);
        }
    } else if (type == kTypeNextCheckpoint) {
        m_nextCheckpointRequested = true;
    } else if (type == kTypeGameplay) {
        if (std::shared_ptr<KXModelAssetPowerup> asset = powerupModel()->assetPowerup()) {
            asset->applyGameplayValues();
            setWorldGravity(field);
            // The character takes the new values into its body at once. Its first update may let it
            // die and leave the field (a hit in the frame it took the powerup), which unbinds it.
            if (m_boundCharacter != nullptr) {
                m_boundCharacter->update(0.0f);
            }
            if (m_boundCharacter != nullptr) {
                m_boundCharacter->update(0.0f);
            }
        }
    } else if (type == kTypeEndGame) {
        m_endGameRequested = true;
    }
}

void KXPObjectAssetPowerup::endTypeEffect(KXPLevelField* field) {
    const std::string type = powerupType();
    kxTrace("powerups", "powerup end type=%s", type.c_str());
    if (type == kTypeMagnet) {
        if (field != nullptr) {
            field->setMagnetActive(false);
        }
    } else if (type == kTypeStrike || type == kTypeInvincibility) {
        for (KXPObjectAssetCharacter* character : registeredCharacters()) {
            character->removeActivePowerup(this);
        }
    } else if (type == kTypeGameplay) {
        if (powerupModel()->assetPowerup()) {
            // Nested gameplay powerups: only the outermost restore brings the saved values back.
            KXPGameplaySettings::shared()->restoreValues();
            setWorldGravity(field);
        }
    }
}

void KXPObjectAssetPowerup::endEffect() {
    if (!m_collected) {
        return;
    }
    const std::shared_ptr<KXModelObjectAssetPowerup> model = powerupModel();
    if (model) {
        if (std::shared_ptr<KXModelSound> sound = model->endSound()) {
            playSound(sound, nullptr);
        }
        endTypeEffect(runningLevel());
    }
    if (m_idleAnimationNode != nullptr) {
        m_idleAnimationNode->stop();
        m_idleAnimationNode->removeFromParentAndCleanup(false);
    }
    if (m_startAnimationNode != nullptr) {
        takeStartLookOffCharacter();
        m_startAnimationNode->stop();
        m_startAnimationNode->removeFromParentAndCleanup(false);
    }
    // Cleared before the state change below, which would otherwise end the effect again.
    m_collected = false;
    // Without a label still to rise the powerup is finished; with one, the label's end is.
    if (m_coinLabel == nullptr && m_pointsLabel == nullptr) {
        setState(kStateRemoved);
    }
}
