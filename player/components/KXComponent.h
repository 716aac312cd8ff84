#pragma once

// A behaviour attached to a runtime object: built from one component model of the object's
// asset, driven by its owner every frame, on each state change and on reset. The kinds that
// do something (move, health, motor, jump, slide, rotation mapper) and the factory that picks
// them come with the components.

#include "cocos2d.h"

#include <memory>

class KXModelComponent;
class KXPObject;

class KXComponent : public cocos2d::CCObject {
public:
    KXComponent();
    ~KXComponent() override;

    // The per-frame step, called by the owner after its pending state is applied.
    void update(float dt) override;
    virtual void setModel(const std::shared_ptr<KXModelComponent>& model);
    // Not retained: the owner holds the component, never the other way round.
    virtual void setOwner(KXPObject* owner);
    // Called after every setState of the owner, also when the value did not change.
    virtual void ownerStateChanged();
    virtual void reset();
    virtual void setEnabled(bool enabled);
    virtual bool isEnabled() const;

    std::shared_ptr<KXModelComponent> model() const { return m_model; }
    KXPObject* owner() const { return m_owner; }

protected:
    std::shared_ptr<KXModelComponent> m_model;
    bool m_enabled = false;
    KXPObject* m_owner = nullptr;
};
