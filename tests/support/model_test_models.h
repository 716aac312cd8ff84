// Small model and attribute classes for the model-core tests, and a recording observer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/KXModelObserver.h"

// A concrete model with no attributes beyond "Name".
class TestModel : public KXModel {
public:
    explicit TestModel(const std::string& name = "") : KXModel(name) {}
    TestModel(const TestModel& source) : KXModel(source) {}
    KX_MODEL_IDENTITY(TestModel, KXModel)
    KX_MODEL_CLONE(TestModel)
    static std::shared_ptr<KXModel> create() { return KXModel::makeShared<TestModel>(""); }
};

// A second class, for per-class store lists.
class OtherTestModel : public KXModel {
public:
    explicit OtherTestModel(const std::string& name = "") : KXModel(name) {}
    OtherTestModel(const OtherTestModel& source) : KXModel(source) {}
    KX_MODEL_IDENTITY(OtherTestModel, KXModel)
    KX_MODEL_CLONE(OtherTestModel)
};

// Answers to the general settings' type id, which no model accepts as a child.
class FakeGeneralSettings : public KXModel {
public:
    FakeGeneralSettings() : KXModel("") {}
    FakeGeneralSettings(const FakeGeneralSettings& source) : KXModel(source) {}
    uint32_t typeId() const override { return kxTypeIdForName("KXModelGeneralSettings"); }
    KX_MODEL_CLONE(FakeGeneralSettings)
};

// A port with a chosen connection kind.
inline KXAttribute* makePort(KXModel& owner, const std::string& name, KXAttributeConnectionKind kind) {
    auto* port = new KXAttribute(name, &owner);
    port->setConnectionKind(kind, true);
    return port;
}

// Stands in for a model-reference attribute of the class named by `className` (the store
// follows animation, shape and sprite references by their type id).
class FakeReferenceAttribute : public KXAttribute {
public:
    FakeReferenceAttribute(const std::string& name, KXModel* owner, const char* className,
                           std::shared_ptr<KXModel> target)
        : KXAttribute(name, owner), m_type(kxTypeIdForName(className)), m_target(std::move(target)) {}
    FakeReferenceAttribute(const std::string& name, KXModel* owner, const FakeReferenceAttribute& source)
        : KXAttribute(name, owner, source), m_type(source.m_type), m_target(source.m_target) {}
    uint32_t typeId() const override { return m_type; }
    std::shared_ptr<KXModel> referencedModel() const override { return m_target; }
    KX_ATTRIBUTE_CLONE(FakeReferenceAttribute)

private:
    uint32_t m_type;
    std::shared_ptr<KXModel> m_target;
};

// Records every notification as a short text.
class RecordingObserver : public KXModelObserver {
public:
    void modelChanged(const std::shared_ptr<KXModel>& model) override { add("model " + model->name()); }
    void attributeChanged(KXBaseAttribute* attribute, int flag) override {
        add("attribute " + attribute->name() + " " + std::to_string(flag));
    }
    void childAdded(const std::shared_ptr<KXModel>& model, const std::shared_ptr<KXModel>& child) override {
        add("added " + child->name() + " to " + model->name());
    }
    void childRemoved(const std::shared_ptr<KXModel>& model, const std::shared_ptr<KXModel>& child) override {
        add("removed " + child->name() + " from " + model->name());
    }
    void allChildrenRemoved(const std::shared_ptr<KXModel>& model) override {
        add("all removed from " + model->name());
    }

    std::vector<std::string> events;

private:
    void add(const std::string& event) { events.push_back(event); }
};

// Starts each test with an empty store and no key table.
inline void resetModelCore() {
    KXModelController::shared()->clear();
    KXMessagePackMap::resetKeyState();
}
