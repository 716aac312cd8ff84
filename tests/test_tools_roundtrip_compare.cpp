// The comparison behind `kxdata roundtrip`: it must see every kind of difference (values, names,
// children, links, missing and extra entries) and forgive only float text rounding when asked.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "support/model_test_models.h"
#include "tools/kxdata/KXGameWriter.h"
#include "tools/kxdata/model_snapshot.h"

namespace {

class RoundtripCompareTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        a = makeModel("A");
        b = makeModel("A");
        b->setId(a->id());
    }
    void TearDown() override { resetModelCore(); }

    static std::shared_ptr<TestModel> makeModel(const std::string& name) {
        auto model = KXModel::makeShared<TestModel>(name);
        auto* speed = new KXAttributeFloat("Speed", model.get());
        speed->setValue(1.5f, true);
        new KXAttributeStringList("Mode", model.get());
        makePort(*model, "Next", KXAttributeConnectionOutput);
        return model;
    }

    std::string difference(double tolerance = 0.0) {
        KXMessagePackMap::installKeyTable(
            kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames({a, b}))));
        return kxdata::firstDifference(kxdata::snapshotModel(*a), kxdata::snapshotModel(*b), tolerance);
    }

    static KXAttributeFloat* speed(const std::shared_ptr<TestModel>& model) {
        return static_cast<KXAttributeFloat*>(model->attribute("Speed"));
    }

    std::shared_ptr<TestModel> a;
    std::shared_ptr<TestModel> b;
};

TEST_F(RoundtripCompareTest, EqualModelsHaveNoDifference) {
    EXPECT_EQ(difference(), "");
}

TEST_F(RoundtripCompareTest, FloatsDifferOnlyBeyondTheTolerance) {
    speed(b)->setValue(1.502f, true);
    EXPECT_EQ(difference(), "values/Speed/value: 1.5 before, 1.50199997 after");
    EXPECT_EQ(difference(0.0051), "");
    speed(b)->setValue(1.52f, true);
    EXPECT_NE(difference(0.0051), "");
}

TEST_F(RoundtripCompareTest, TextsIdsAndClassesMustMatchExactly) {
    static_cast<KXAttributeStringList*>(b->attribute("Mode"))->setValue("kFast", true);
    EXPECT_EQ(difference(1.0), "values/Mode/value: \"\" before, \"kFast\" after");
    static_cast<KXAttributeStringList*>(b->attribute("Mode"))->setValue("", true);
    b->setId(a->id() + 1);
    EXPECT_NE(difference(1.0).find("id:"), std::string::npos);
}

TEST_F(RoundtripCompareTest, MissingAndExtraAttributesAreNamed) {
    delete b->attribute("Speed");
    EXPECT_EQ(difference(), "values/Speed: missing after the round trip");
    std::swap(a, b);
    EXPECT_EQ(difference(), "values/Speed: appeared in the round trip");
}

TEST_F(RoundtripCompareTest, ChildrenAndLinksAreCompared) {
    auto child = KXModel::makeShared<TestModel>("child");
    a->addChild(child, true);
    EXPECT_NE(difference().find("children: [" + std::to_string(child->id()) + "] before, [] after"),
              std::string::npos);
    b->addChild(child, true);
    EXPECT_EQ(difference(), "");

    auto target = KXModel::makeShared<TestModel>("target");
    KXAttribute* load = makePort(*target, "Load", KXAttributeConnectionInput);
    a->attribute("Next")->connect(load, true);
    EXPECT_EQ(difference(), "connections/Next: missing after the round trip");
}

} // namespace
