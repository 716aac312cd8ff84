// The fixture of the typed-attribute suites: a fresh model core with the attribute key table,
// and an owner model whose notifications an observer records.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "support/attribute_test_support.h"
#include "support/model_test_models.h"

class OwnedAttributeTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        installAttributeKeyTable();
        owner = KXModel::makeShared<TestModel>("owner");
        owner->addObserver(&observer);
    }
    void TearDown() override {
        owner->removeObserver(&observer);
        owner.reset();
        resetModelCore();
    }
    size_t notifications() const { return observer.events.size(); }

    std::shared_ptr<TestModel> owner;
    RecordingObserver observer;
};
