#pragma once

// Carries a model as a node's user object, so that screens and components can find the model
// behind any menu item or control.

#include "cocos2d.h"

#include <memory>

class KXModel;

class KXObjectModelHolder : public cocos2d::CCObject {
public:
    // Autoreleased.
    static KXObjectModelHolder* create(const std::shared_ptr<KXModel>& model);

    explicit KXObjectModelHolder(const std::shared_ptr<KXModel>& model);
    ~KXObjectModelHolder() override;

    std::shared_ptr<KXModel> model() const { return m_model; }

    // The model held by a node's user object, or empty.
    static std::shared_ptr<KXModel> modelOf(cocos2d::CCObject* node);

private:
    std::shared_ptr<KXModel> m_model;
};
