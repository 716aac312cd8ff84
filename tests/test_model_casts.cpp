// Exact and kind casts, and the typed queries over the store, children and parents.

#include "model/KXModelController.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelClassList.h"
#include "model/classes/KXModelComponent.h"
#include "model/classes/KXModelQueries.h"
#include "support/model_class_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

class ModelCastsTest : public ::testing::Test {
protected:
    void SetUp() override { store().clear(); }
    void TearDown() override { store().clear(); }
    static KXModelController& store() { return *KXModelController::shared(); }

    template <class T> static std::shared_ptr<T> makeStored() {
        std::shared_ptr<T> model = make<T>();
        store().addModel(model);
        return model;
    }
};

// Counts virtual calls, so the empty-pointer cast can show it makes none.
class CountingModel : public KXModel {
public:
    using KXModel::KXModel;
    uint32_t typeId() const override {
        ++calls;
        return KXModel::typeId();
    }
    bool isKindOf(uint32_t kind) const override {
        ++calls;
        return KXModel::isKindOf(kind);
    }
    std::shared_ptr<KXModel> clone(bool, bool) const override { return nullptr; }
    mutable int calls = 0;
};

TEST_F(ModelCastsTest, ExactCastRejectsDerivedClassesKindCastAcceptsThem) {
    std::shared_ptr<KXModel> purchase = KXModelObjectButtonPurchase::create();
    EXPECT_FALSE(modelCast<KXModelObjectButton>(purchase));
    EXPECT_EQ(modelKindCast<KXModelObjectButton>(purchase), purchase);
    EXPECT_EQ(modelCast<KXModelObjectButtonPurchase>(purchase), purchase);
    EXPECT_EQ(modelKindCast<KXModelObject>(purchase), purchase);
    EXPECT_FALSE(modelKindCast<KXModelComponent>(purchase));
    EXPECT_FALSE(modelKindCast<KXModelObjectButtonPurchase>(KXModelObjectButton::create()));

    std::shared_ptr<KXModel> start = KXNodeUIStart::create();
    EXPECT_FALSE(modelCast<KXNodeUI>(start));
    EXPECT_EQ(modelKindCast<KXNodeUI>(start), start);
}

TEST_F(ModelCastsTest, CastKeepsTheObject) {
    std::shared_ptr<KXModel> circle = KXModelCircle::create();
    std::shared_ptr<KXModelPolygon> polygon = modelKindCast<KXModelPolygon>(circle);
    ASSERT_TRUE(polygon);
    EXPECT_EQ(static_cast<KXModel*>(polygon.get()), circle.get());
    EXPECT_EQ(polygon.use_count(), circle.use_count());
}

TEST_F(ModelCastsTest, EmptyPointerCastsToEmptyWithoutVirtualCalls) {
    EXPECT_FALSE(modelCast<KXModelSound>(nullptr));
    EXPECT_FALSE(modelKindCast<KXModelSound>(nullptr));

    auto counting = KXModel::makeShared<CountingModel>("counted");
    EXPECT_FALSE(modelCast<KXModelSound>(counting));
    EXPECT_FALSE(modelKindCast<KXModelSound>(counting));
    EXPECT_EQ(counting->calls, 2);
}

TEST_F(ModelCastsTest, StoreLookupByIdChecksTheClass) {
    std::shared_ptr<KXModelAssetPowerup> powerup = makeStored<KXModelAssetPowerup>();
    EXPECT_EQ(getModel<KXModelAssetPowerup>(powerup->id()), powerup);
    EXPECT_FALSE(getModel<KXModelAsset>(powerup->id()));
    EXPECT_EQ(getModelOfKind<KXModelAsset>(powerup->id()), powerup);
    EXPECT_FALSE(getModelOfKind<KXModelObject>(powerup->id()));
    EXPECT_FALSE(getModel<KXModelAssetPowerup>(powerup->id() + 1000));
}

TEST_F(ModelCastsTest, CreateModelRegistersTheNewModel) {
    std::shared_ptr<KXModelPolygon> polygon = createModel<KXModelPolygon>();
    ASSERT_TRUE(polygon);
    EXPECT_EQ(store().getModel(polygon->id()), polygon);
    EXPECT_EQ(getModels<KXModelPolygon>(), std::vector<std::shared_ptr<KXModelPolygon>>{polygon});
}

TEST_F(ModelCastsTest, GetModelsReturnsExactlyOneClassInStoreOrder) {
    EXPECT_TRUE(getModels<KXModelScreen>().empty());
    EXPECT_TRUE(store().modelsById().empty());

    std::shared_ptr<KXModelScreen> first = makeStored<KXModelScreen>();
    makeStored<KXModelScreenScene>();
    std::shared_ptr<KXModelScreen> second = makeStored<KXModelScreen>();
    makeStored<KXNodeUIStart>();
    std::shared_ptr<KXNodeUI> node = makeStored<KXNodeUI>();

    EXPECT_EQ(getModels<KXModelScreen>(), (std::vector<std::shared_ptr<KXModelScreen>>{first, second}));
    EXPECT_EQ(getModels<KXNodeUI>(), std::vector<std::shared_ptr<KXNodeUI>>{node});
}

TEST_F(ModelCastsTest, GetModelsOfKindGroupsEveryButtonClass) {
    std::shared_ptr<KXModel> plainA = makeStored<KXModelObjectButton>();
    std::shared_ptr<KXModel> purchase = makeStored<KXModelObjectButtonPurchase>();
    std::shared_ptr<KXModel> plainB = makeStored<KXModelObjectButton>();
    std::shared_ptr<KXModel> facebook = makeStored<KXModelObjectButtonFacebook>();
    makeStored<KXModelObjectImage>();
    makeStored<KXModelSound>();

    std::vector<std::shared_ptr<KXModelObjectButton>> buttons = getModelsOfKind<KXModelObjectButton>();
    ASSERT_EQ(buttons.size(), 4u);

    // Grouped by class, groups in ascending type id, each group in store order.
    std::vector<std::pair<uint32_t, std::vector<std::shared_ptr<KXModel>>>> groups = {
        {KXModelObjectButton::staticType(), {plainA, plainB}},
        {KXModelObjectButtonPurchase::staticType(), {purchase}},
        {KXModelObjectButtonFacebook::staticType(), {facebook}},
    };
    std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::shared_ptr<KXModel>> expected;
    for (const auto& group : groups) {
        expected.insert(expected.end(), group.second.begin(), group.second.end());
    }
    std::vector<std::shared_ptr<KXModel>> actual(buttons.begin(), buttons.end());
    EXPECT_EQ(actual, expected);
}

// A query of one kind asks one model of each class, not every model in the store: a UI screen
// looks its node up each time it opens or closes (a HUD at every rebuild of the level), whatever
// else the store holds.
TEST_F(ModelCastsTest, GetModelsOfKindAsksOneModelOfEachClass) {
    std::vector<std::shared_ptr<CountingModel>> others;
    for (int index = 0; index < 1000; ++index) {
        others.push_back(KXModel::makeShared<CountingModel>("other"));
        store().addModel(others.back());
    }
    std::shared_ptr<KXNodeUI> node = makeStored<KXNodeUI>();
    // A class whose first models went asks its first one still there.
    store().removeModel(others[0]);
    store().removeModel(others[1]);
    for (const std::shared_ptr<CountingModel>& other : others) {
        other->calls = 0;
    }

    EXPECT_EQ(getModelsOfKind<KXNodeUI>(), std::vector<std::shared_ptr<KXNodeUI>>{node});
    const std::vector<std::shared_ptr<KXModel>> models = getModelsOfKind<KXModel>();
    int calls = 0;
    for (const std::shared_ptr<CountingModel>& other : others) {
        calls += other->calls;
    }
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(others[2]->calls, 2);
    std::vector<std::shared_ptr<KXModel>> left(others.begin() + 2, others.end());
    left.push_back(node);
    std::vector<std::shared_ptr<KXModel>> found = models;
    // The node's class may come first or last, by its type id.
    std::stable_partition(found.begin(), found.end(), [&node](const auto& model) { return model != node; });
    EXPECT_EQ(found, left);
}

TEST_F(ModelCastsTest, ChildQueries) {
    std::shared_ptr<KXModelScreenScene> scene = make<KXModelScreenScene>();
    std::shared_ptr<KXModelLinker> linkerA = make<KXModelLinker>();
    std::shared_ptr<KXModelComponentScore> score = make<KXModelComponentScore>();
    std::shared_ptr<KXModelObjectAssetPowerup> powerup = make<KXModelObjectAssetPowerup>();
    std::shared_ptr<KXModelLinker> linkerB = make<KXModelLinker>();
    std::shared_ptr<KXModelObjectAssetCharacter> character = make<KXModelObjectAssetCharacter>();
    for (const std::shared_ptr<KXModel>& child :
         std::vector<std::shared_ptr<KXModel>>{linkerA, score, powerup, linkerB, character}) {
        scene->addChild(child);
    }

    EXPECT_EQ(getChildren<KXModelLinker>(*scene),
              (std::vector<std::shared_ptr<KXModelLinker>>{linkerA, linkerB}));
    EXPECT_EQ(getChildren<KXModelObjectAssetCharacter>(*scene),
              std::vector<std::shared_ptr<KXModelObjectAssetCharacter>>{character});
    EXPECT_EQ(getChildrenOfKind<KXModelObjectAsset>(*scene),
              (std::vector<std::shared_ptr<KXModelObjectAsset>>{powerup, character}));
    EXPECT_TRUE(getChildren<KXModelObjectAsset>(*scene).empty());
    EXPECT_EQ(getFirstChild<KXModelComponentScore>(*scene), score);
    EXPECT_FALSE(getFirstChild<KXModelComponentHealth>(*scene));
}

TEST_F(ModelCastsTest, FirstParentPassesOverDestroyedParents) {
    std::shared_ptr<KXModelObjectImage> image = make<KXModelObjectImage>();
    std::shared_ptr<KXModel> gone = make<KXModelScreenScene>();
    std::shared_ptr<KXModel> screen = make<KXModelScreen>();
    std::shared_ptr<KXModel> scene = make<KXModelScreenScene>();
    gone->addChild(image);
    screen->addChild(image);
    scene->addChild(image);

    EXPECT_EQ(getFirstParent<KXModelScreenScene>(*image), gone);
    gone.reset();
    EXPECT_EQ(getFirstParent<KXModelScreenScene>(*image), scene);
    scene.reset();
    EXPECT_FALSE(getFirstParent<KXModelScreenScene>(*image));
    EXPECT_FALSE(getFirstParent<KXModelObjectGroup>(*image));
}

} // namespace
