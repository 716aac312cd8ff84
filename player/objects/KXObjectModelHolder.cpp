#include "player/objects/KXObjectModelHolder.h"

#include "model/KXModel.h"

using namespace cocos2d;

KXObjectModelHolder* KXObjectModelHolder::create(const std::shared_ptr<KXModel>& model) {
    KXObjectModelHolder* holder = new KXObjectModelHolder(model);
    holder->autorelease();
    return holder;
}

KXObjectModelHolder::KXObjectModelHolder(const std::shared_ptr<KXModel>& model) : m_model(model) {}

KXObjectModelHolder::~KXObjectModelHolder() = default;

std::shared_ptr<KXModel> KXObjectModelHolder::modelOf(CCObject* node) {
    CCNode* asNode = dynamic_cast<CCNode*>(node);
    if (asNode == nullptr) {
        return nullptr;
    }
    KXObjectModelHolder* holder = dynamic_cast<KXObjectModelHolder*>(asNode->getUserObject());
    return holder != nullptr ? holder->model() : nullptr;
}
