#pragma once

// An invisible node of a UI screen that watches one game condition every frame (game over, the
// screen shown for the n-th time, a review every so many showings, the last level section, a
// score limit, a timeout) and, when it holds, makes the screen follow the link that leaves the
// observer, as a pressed button would. The screen's closing state absorbs the repeated requests
// of the conditions that keep holding.

#include "cocos2d.h"

#include <memory>
#include <string>

class KXModelObjectEventObserver;
class KXPScreenUi;

class KXPObjectEventObserver : public cocos2d::CCNode {
public:
    static constexpr const char* kGameOver = "kGameOver";
    static constexpr const char* kSecondPlay = "kSecondPlay";
    static constexpr const char* kRequestReview = "kRequestReview";
    static constexpr const char* kLastScene = "kLastScene";
    static constexpr const char* kTimeout = "kTimeout";
    static constexpr const char* kStartCheckpointEvent = "kStartCheckpointEvent";

    // Autoreleased, armed, with the model set.
    static KXPObjectEventObserver* create(const std::shared_ptr<KXModelObjectEventObserver>& model);

    KXPObjectEventObserver() = default;
    ~KXPObjectEventObserver() override = default;

    void update(float dt) override;
    virtual void setModel(const std::shared_ptr<KXModelObjectEventObserver>& model);

    const std::shared_ptr<KXModelObjectEventObserver>& model() const { return m_model; }
    bool isArmed() const { return m_armed; }
    float remainingTime() const { return m_remainingTime; }

    // The play counts a "kRequestReview" observer asks at: count % truncated plays == plays - 1
    // (so never for plays with a fraction), never when the plays truncate to 0 or less.
    static bool reviewDue(int playCount, float playsBeforeRedirect);
    // Whether the section is the last of the sections sharing its first live parent, in stored
    // order; false for no such section or one without a live parent.
    static bool isLastLevelSection(uint32_t sectionId);
    // The figure a score event type compares with its limit, and its log line; false for a type
    // that is no score type.
    static bool scoreFigure(const std::string& eventType, float* figure, const char** logLine);

private:
    void fire(KXPScreenUi* ui, int openMode);
    // "kSecondPlay" and "kRequestReview": the play count of the screen before this showing.
    int takePlayCount(KXPScreenUi* ui);

    std::shared_ptr<KXModelObjectEventObserver> m_model;
    bool m_armed = true;
    float m_remainingTime = 0.0f;
};
