#pragma once

// An attribute that refers to another model of kind M. Nothing goes into the attributes map;
// the connections map holds the model's id under "value", resolved once every model exists.
// While a model is referenced this attribute sits in that model's referrer list.

#include "model/KXBaseAttribute.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelCasts.h"
#include "model/references/KXReferenceIds.h"

#include <cstdint>
#include <memory>
#include <string>

template <class M> class KXBaseAttributeModel : public KXAttribute {
public:
    KXBaseAttributeModel(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXAttribute(name, owner, flags) {}
    // Shares the source's model.
    KXBaseAttributeModel(const std::string& name, KXModel* owner, const KXBaseAttributeModel& source)
        : KXAttribute(name, owner, source) {
        replaceModel(source.m_model);
    }
    ~KXBaseAttributeModel() override { replaceModel(nullptr); }

    std::shared_ptr<M> value() const { return m_model; }
    std::shared_ptr<KXModel> referencedModel() const override { return m_model; }

    // Nothing when the model is the one held; else moves between referrer lists and, unless
    // silent, tells the owner.
    void setValue(const std::shared_ptr<M>& model, bool silent = false) {
        if (model == m_model) {
            return;
        }
        replaceModel(model);
        if (!silent) {
            notifyChanged(0);
        }
    }

    void registerKeys() const override {
        KXAttribute::registerKeys();
        if (m_model) {
            KXMessagePackMap::registerKeyName(kReferenceValueKey);
        }
    }

    void packConnections(KXMessagePackMap& map) const override {
        KXAttribute::packConnections(map);
        if (m_model) {
            map.set(kReferenceValueKey, m_model->id());
        }
    }

    // A missing "value", an id of 0, or an id naming no model of kind M clears the reference.
    void unpackConnections(const KXMessagePackMap& map) override {
        KXAttribute::unpackConnections(map);
        uint32_t id = 0;
        map.get(kReferenceValue, id);
        std::shared_ptr<M> found = resolve(id);
        if (found != m_model) {
            replaceModel(found);
        }
        referenceLoaded();
    }

    void loadConnectionFromDictionary(cocos2d::CCObject* object) override {
        KXAttribute::loadConnectionFromDictionary(object);
        uint32_t id = 0;
        if (!referenceIdFromDictionary(object, id)) {
            return;
        }
        std::shared_ptr<M> found = resolve(id);
        if (found != m_model) {
            replaceModel(found);
        }
        referenceLoaded();
    }

    cocos2d::CCDictionary* saveConnectionToDictionary() const override {
        return addReferenceIdToDictionary(KXAttribute::saveConnectionToDictionary(), m_model.get());
    }

protected:
    // The stored model of that id when it is of kind M, else empty.
    static std::shared_ptr<M> resolve(uint32_t id) {
        return modelKindCast<M>(KXModelController::shared()->getModel(id));
    }

    // Leaves the old model's referrer list before joining the new one's.
    void replaceModel(const std::shared_ptr<M>& model) {
        if (m_model) {
            m_model->removeReferrer(this);
        }
        m_model = model;
        if (m_model) {
            m_model->addReferrer(this);
        }
    }

    // Runs after a stored reference was read (the animation attribute takes its loop flag).
    virtual void referenceLoaded() {}

private:
    std::shared_ptr<M> m_model;
};
