// Receives the change notifications of the models it is added to (KXModel::addObserver).
#pragma once

#include <memory>

class KXModel;
class KXBaseAttribute;

class KXModelObserver {
public:
    virtual ~KXModelObserver() = default;
    virtual void modelChanged(const std::shared_ptr<KXModel>& /*model*/) {}
    // flag 0: value or name changed; 1: links changed.
    virtual void attributeChanged(KXBaseAttribute* /*attribute*/, int /*flag*/) {}
    virtual void childAdded(const std::shared_ptr<KXModel>& /*model*/,
                            const std::shared_ptr<KXModel>& /*child*/) {}
    virtual void childRemoved(const std::shared_ptr<KXModel>& /*model*/,
                              const std::shared_ptr<KXModel>& /*child*/) {}
    virtual void allChildrenRemoved(const std::shared_ptr<KXModel>& /*model*/) {}
};
