#pragma once

// A behaviour attached to a runtime object: built from one component model of the object's
// asset, driven by its owner every frame, on each state change and on reset, by input events it
// subscribes to and by contacts its owner reports. The kinds (move, health, motor, jump, slide,
// rotation mapper) derive from it; `create` picks the kind by the model's exact class.

#include "cocos2d.h"
#include "player/base/KXPKinds.h"

#include <memory>
#include <string>

class b2Fixture;
class KXModel;
class KXModelComponent;
class KXModelSound;
class KXPObject;
class KXPObjectAsset;
class KXSound;

// A component's "Event" text read as an input trigger: kind, control name and digit, joined by
// "-" ("kButton-Fire-0"). With two parts the name doubles as the digit; with one, both are empty.
struct KXComponentTrigger {
    std::string kind;
    std::string name;
    std::string digit;

    static KXComponentTrigger parse(const std::string& text);
};

class KXComponent : public cocos2d::CCObject {
public:
    // Input trigger kinds and event words of the "Event" texts.
    static constexpr const char* kTriggerButton = "kButton";
    static constexpr const char* kTriggerSwitch = "kSwitch";
    static constexpr const char* kTriggerSwipe = "kSwipe";
    static constexpr const char* kEventCollision = "kEventCollision";
    static constexpr const char* kEventStart = "kEventStart";
    static constexpr const char* kEventButton = "kEventButton";

    // The component of the model's kind, with the model set and no owner yet, holding the one
    // reference its constructor gave it (not autoreleased); null for component models without a
    // runtime component (score, damage, wake-up ...) and for kinds this build cannot make yet.
    static KXComponent* create(const std::shared_ptr<KXModel>& model);
    // The factory's rows by name, as its made components are traced.
    static KXPKindTable kindTable();

    KXComponent();
    // Ends the input subscriptions made through subscribeInput.
    ~KXComponent() override;

    // The per-frame step, called by the owner after its pending state is applied.
    void update(float dt) override;
    virtual void setModel(const std::shared_ptr<KXModelComponent>& model);
    // Not retained: the owner holds the component, never the other way round.
    virtual void setOwner(KXPObject* owner);
    // Called after every setState of the owner, also when the value did not change.
    virtual void ownerStateChanged();
    virtual void reset();
    // Before one of the owner's body fixtures is destroyed; nothing here. A component that holds
    // a fixture lets go of it.
    virtual void fixtureGoing(b2Fixture* fixture);
    virtual void setEnabled(bool enabled);
    virtual bool isEnabled() const;

    std::shared_ptr<KXModelComponent> model() const { return m_model; }
    KXPObject* owner() const { return m_owner; }

    // The model behind a control that sent an input event (through its node's user object), or
    // empty.
    static std::shared_ptr<KXModel> senderModel(cocos2d::CCObject* sender);
    // That model when it is a control a trigger can name (control button, switch button or swipe
    // control, by exact class), else empty.
    static std::shared_ptr<KXModel> senderControlModel(cocos2d::CCObject* sender);

protected:
    // Listens to an input event (11 on, 12 off, 13 to 16 swipes, or a game action) from any
    // source; `handler` gets the sending control.
    void subscribeInput(int event, cocos2d::SEL_CallFuncO handler);
    // The kinds' usual subscription of a control trigger: "kButton" and "kSwitch" with the digit
    // "0" take "on" as a press and "off" as a release, any other digit the reverse; "kSwipe" takes
    // the swipe its digit's first character ("0" to "3") names as a press.
    void subscribeTrigger(const KXComponentTrigger& trigger, cocos2d::SEL_CallFuncO pressed,
                          cocos2d::SEL_CallFuncO released);
    // Whether the sender is a control of the trigger's name.
    static bool senderMatches(cocos2d::CCObject* sender, const KXComponentTrigger& trigger);
    // A "components" trace line: what this component of `kind` did to its owner, and more.
    void traceEvent(const char* kind, const char* event, const std::string& more = std::string()) const;
    // The owner as an asset object (every owner that attaches components is one), or null.
    KXPObjectAsset* assetOwner() const;
    // A game-object sound made from `model` into `slot` (nothing without a model). A screen change
    // deletes every game sound: the sound then empties the slot, so it is never deleted twice.
    static void makeSound(const std::shared_ptr<KXModelSound>& model, KXSound*& slot);
    static void deleteSound(KXSound*& slot);

    std::shared_ptr<KXModelComponent> m_model;
    bool m_enabled = false;
    KXPObject* m_owner = nullptr;

private:
    bool m_subscribedToInput = false;
};
