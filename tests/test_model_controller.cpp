// The model store: registration cascades, removal rules, re-keying, change flag, clear.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXDebugLog.h"
#include "support/model_test_models.h"
#include "support/state_guards.h"

namespace {

using ModelPtr = std::shared_ptr<KXModel>;

class ModelStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        store = KXModelController::shared();
    }
    void TearDown() override { resetModelCore(); }

    static ModelPtr make(const std::string& name) { return KXModel::makeShared<TestModel>(name); }

    KXModelController* store = nullptr;
};

TEST_F(ModelStoreTest, AddsOncePerIdAndKeepsClassLists) {
    ModelPtr a = make("a");
    ModelPtr b = make("b");
    ModelPtr other = KXModel::makeShared<OtherTestModel>("other");
    EXPECT_FALSE(store->isChanged());
    store->addModel(a);
    store->addModel(other);
    store->addModel(b, 0); // position in the class list, not an id
    EXPECT_TRUE(store->isChanged());
    EXPECT_EQ(store->getModel(a->id()), a);
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()), (std::vector<ModelPtr>{b, a}));
    EXPECT_EQ(store->getModelsByType(OtherTestModel::staticType()), std::vector<ModelPtr>{other});
    EXPECT_TRUE(store->getModelsByType(KXModel::staticType()).empty());

    // Another model under a taken id is not added, and the store does not change.
    store->setChanged(false);
    ModelPtr impostor = make("impostor");
    impostor->setId(a->id());
    store->addModel(impostor);
    store->addModel(nullptr);
    EXPECT_FALSE(store->isChanged());
    EXPECT_EQ(store->getModel(a->id()), a);
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()).size(), 2u);
    EXPECT_FALSE(store->isRegistered(impostor.get()));
}

// Models that go leave their class list in the order the others came, however many go and in
// whatever order (a file that gives each id again replaces every model it had), and a model added
// at a position goes among the models that stay.
TEST_F(ModelStoreTest, ClassListsKeepTheirOrderThroughManyRemovalsAndReturns) {
    std::vector<ModelPtr> models;
    for (int index = 0; index < 3000; ++index) {
        models.push_back(make("m" + std::to_string(index)));
        store->addModel(models.back());
    }
    // Every third goes, from the last back.
    std::vector<ModelPtr> expected;
    for (size_t index = models.size(); index-- > 0;) {
        if (index % 3 == 0) {
            store->removeModel(models[index]);
        }
    }
    for (size_t index = 0; index < models.size(); ++index) {
        if (index % 3 != 0) {
            expected.push_back(models[index]);
        }
    }
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()), expected);
    // Then half of the rest go and come back, at the end, in the order they return.
    for (size_t index = 0; index < expected.size() / 2; ++index) {
        store->removeModel(expected[index]);
    }
    for (size_t index = expected.size() / 2; index-- > 0;) {
        store->addModel(expected[index]);
    }
    std::vector<ModelPtr> returned(expected.begin() + static_cast<long>(expected.size() / 2), expected.end());
    for (size_t index = expected.size() / 2; index-- > 0;) {
        returned.push_back(expected[index]);
    }
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()), returned);
    // One placed at a position among them.
    store->removeModel(returned[5]);
    ModelPtr placed = make("placed");
    store->addModel(placed, 3);
    returned.erase(returned.begin() + 5);
    returned.insert(returned.begin() + 3, placed);
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()), returned);
    // Those it moved on leave from where they are now.
    store->removeModel(returned[4]);
    store->removeModel(returned.back());
    returned.erase(returned.begin() + 4);
    returned.pop_back();
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()), returned);
    for (const ModelPtr& model : returned) {
        EXPECT_TRUE(store->isRegistered(model.get()));
    }
}

TEST_F(ModelStoreTest, RegistersWholeTreesOnce) {
    ModelPtr root = make("root");
    ModelPtr left = make("left");
    ModelPtr right = make("right");
    ModelPtr shared = make("shared");
    ModelPtr grandchild = make("grandchild");
    ModelPtr animation = make("animation");
    ModelPtr shape = make("shape");
    ModelPtr sprite = make("sprite");
    ModelPtr ignored = make("ignored");
    root->addChild(left);
    root->addChild(right);
    left->addChild(shared);
    right->addChild(shared);
    shared->addChild(grandchild);
    grandchild->addChild(root); // a cycle back to the top
    new FakeReferenceAttribute("Animation", left.get(), "KXAttributeAnimation", animation);
    new FakeReferenceAttribute("Shape", right.get(), "KXAttributeShape", shape);
    new FakeReferenceAttribute("Sprite", grandchild.get(), "KXAttributeSprite", sprite);
    new FakeReferenceAttribute("Object", root.get(), "KXAttributeObject", ignored);

    store->addModel(root);
    // Depth first: each model, then its children in order, then its referenced models.
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()),
              (std::vector<ModelPtr>{root, left, shared, grandchild, sprite, animation, right, shape}));
    EXPECT_FALSE(store->isRegistered(ignored.get()));
    grandchild->removeAllChildren(true);
}

TEST_F(ModelStoreTest, RemovalKeepsWhatOthersStillHold) {
    ModelPtr parent = make("parent");
    ModelPtr otherParent = make("other parent");
    ModelPtr unregisteredParent = make("unregistered parent");
    ModelPtr ownChild = make("own child");
    ModelPtr sharedChild = make("shared child");
    ModelPtr looseChild = make("loose child");
    ModelPtr animation = make("animation");
    ModelPtr shape = make("shape");
    ModelPtr sprite = make("sprite");
    parent->addChild(ownChild);
    parent->addChild(sharedChild);
    parent->addChild(looseChild);
    otherParent->addChild(sharedChild);
    unregisteredParent->addChild(looseChild);
    new FakeReferenceAttribute("Animation", parent.get(), "KXAttributeAnimation", animation);
    new FakeReferenceAttribute("Shape", parent.get(), "KXAttributeShape", shape);
    new FakeReferenceAttribute("Sprite", parent.get(), "KXAttributeSprite", sprite);
    // The shape is also a child of the other parent: animation and shape models go anyway.
    otherParent->addChild(shape);
    store->addModel(parent);
    store->addModel(otherParent);
    store->setChanged(false);

    store->removeModel(parent);
    EXPECT_TRUE(store->isChanged());
    EXPECT_FALSE(store->isRegistered(parent.get()));
    EXPECT_FALSE(store->isRegistered(ownChild.get()));
    EXPECT_TRUE(store->isRegistered(sharedChild.get()));
    EXPECT_FALSE(store->isRegistered(looseChild.get())); // its other parent is not registered
    EXPECT_FALSE(store->isRegistered(animation.get()));
    EXPECT_FALSE(store->isRegistered(shape.get()));
    EXPECT_TRUE(store->isRegistered(sprite.get()));
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()),
              (std::vector<ModelPtr>{sharedChild, sprite, otherParent})); // registration order

    // Removing what is not registered changes nothing, also when its id is a registered model's.
    store->setChanged(false);
    store->removeModel(parent);
    store->removeModel(nullptr);
    ModelPtr impostor = make("impostor");
    impostor->setId(otherParent->id());
    store->removeModel(impostor);
    EXPECT_FALSE(store->isChanged());
    EXPECT_EQ(store->getModel(otherParent->id()), otherParent);
    EXPECT_TRUE(store->isRegistered(sharedChild.get()));
}

TEST_F(ModelStoreTest, LongChainsRegisterAndUnregisterWithoutDeepRecursion) {
    ModelPtr root = make("root");
    ModelPtr tail = root;
    for (int i = 0; i < 50000; ++i) {
        ModelPtr next = make("");
        tail->addChild(next, true);
        tail = next;
    }
    store->addModel(root);
    EXPECT_EQ(store->modelsById().size(), 50001u);
    EXPECT_TRUE(store->isRegistered(tail.get()));
    store->removeModel(root);
    EXPECT_TRUE(store->modelsById().empty());
}

TEST_F(ModelStoreTest, ReKeying) {
    ModelPtr loose = make("loose");
    loose->setId(500);
    EXPECT_EQ(store->getModel(500), nullptr);

    ModelPtr model = make("model");
    store->addModel(model);
    const uint32_t oldId = model->id();
    store->setChanged(false);
    model->setId(700);
    EXPECT_EQ(store->getModel(700), model);
    EXPECT_EQ(store->getModel(oldId), nullptr);
    EXPECT_TRUE(store->isChanged());

    // Another registered model under the new id: the model keeps its old key and the
    // store says so in the log.
    ModelPtr holder = make("holder");
    holder->setId(800);
    store->addModel(holder);
    KXDebugLogCapture log;
    model->setId(800);
    EXPECT_EQ(model->id(), 800u);
    EXPECT_EQ(store->getModel(700), model);
    EXPECT_EQ(store->getModel(800), holder);
    EXPECT_TRUE(store->isRegistered(model.get()));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "[KXModelController] id 800 is taken; model stays registered under id 700");

    // Removing it removes the right entry, not the holder of its id.
    store->removeModel(model);
    EXPECT_EQ(store->getModel(700), nullptr);
    EXPECT_EQ(store->getModel(800), holder);
    EXPECT_EQ(store->getModelsByType(TestModel::staticType()), std::vector<ModelPtr>{holder});
}

TEST_F(ModelStoreTest, ADisplacedModelMovesOnWhenItsIdIsFree) {
    ModelPtr model = make("model");
    ModelPtr holder = make("holder");
    store->addModel(model);
    store->addModel(holder);
    const uint32_t key = model->id();
    model->setId(holder->id());
    model->setId(900);
    EXPECT_EQ(store->getModel(900), model);
    EXPECT_EQ(store->getModel(key), nullptr);
}

TEST_F(ModelStoreTest, ChangeNotificationsReachTheStoreOnlyForRegisteredModels) {
    ModelPtr model = make("model");
    KXAttribute* port = makePort(*model, "Port", KXAttributeConnectionNone);
    port->notifyChanged(0);
    model->notifyModelChanged();
    EXPECT_FALSE(store->isChanged());

    store->addModel(model);
    store->setChanged(false);
    port->notifyChanged(2);
    store->notifyAttributeChanged(nullptr, 0);
    EXPECT_FALSE(store->isChanged());
    port->notifyChanged(1);
    EXPECT_TRUE(store->isChanged());
    store->setChanged(false);
    model->setName("renamed");
    EXPECT_TRUE(store->isChanged());
    store->setChanged(false);
    model->notifyModelChanged();
    EXPECT_TRUE(store->isChanged());
}

TEST_F(ModelStoreTest, ClonesJoinTheStoreOnlyWhenTheirSourceIsThere) {
    ModelPtr source = make("source");
    ModelPtr registeredChild = make("registered child");
    source->addChild(registeredChild);
    ModelPtr loose = make("loose");
    store->addModel(source);

    ModelPtr copy = source->clone(true, true);
    EXPECT_TRUE(store->isRegistered(copy.get()));
    ASSERT_EQ(copy->children().size(), 1u);
    EXPECT_TRUE(store->isRegistered(copy->children()[0].get()));
    EXPECT_FALSE(store->isRegistered(source->clone(true, false).get()));
    EXPECT_FALSE(store->isRegistered(loose->clone(true, true).get()));
}

TEST_F(ModelStoreTest, ClearEmptiesTheStoreAndRestartsIds) {
    std::weak_ptr<KXModel> watch;
    int hookCalls = 0;
    const kxtest::ScopedClearHook hook([&hookCalls] { ++hookCalls; });
    {
        ModelPtr a = make("a");
        ModelPtr b = make("b");
        a->addChild(b);
        store->addModel(a);
        watch = b;
    }
    store->setLastError("Unable to load data");
    store->loadState().pass = 1;
    const uint32_t oldId = watch.lock()->id();
    store->clear();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(store->getModel(oldId), nullptr);
    EXPECT_TRUE(store->modelsById().empty());
    EXPECT_TRUE(store->getModelsByType(TestModel::staticType()).empty());
    EXPECT_EQ(store->lastError(), "");
    EXPECT_FALSE(store->isChanged());
    EXPECT_EQ(store->loadState().pass, 0);
    EXPECT_EQ(store->loadState().currentName, "KXModelGeneralSettings");
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(make("next")->id(), 1u);
    EXPECT_EQ(store->dataDirectory(), "data");
}

TEST_F(ModelStoreTest, ARemovedClearHookRunsNoMore) {
    int kept = 0;
    int removed = 0;
    const kxtest::ScopedClearHook keep([&kept] { ++kept; });
    {
        const kxtest::ScopedClearHook gone([&removed] { ++removed; });
        store->clear();
    }
    store->clear();
    EXPECT_EQ(kept, 2);
    EXPECT_EQ(removed, 1);
}

// Damaged links can make models hold each other: a child that is its parent's parent, a
// reference back to what owns it. Once the store lets go, nothing else can reach them.
TEST_F(ModelStoreTest, ClearReleasesModelsThatOnlyHoldEachOther) {
    std::weak_ptr<KXModel> parent;
    std::weak_ptr<KXModel> child;
    std::weak_ptr<KXModel> owner;
    std::weak_ptr<KXModel> part;
    {
        ModelPtr a = make("a");
        ModelPtr b = make("b");
        a->addChild(b);
        b->addChild(a);
        store->addModel(a);
        ModelPtr c = make("c");
        ModelPtr d = make("d");
        c->addChild(d);
        new FakeReferenceAttribute("Back", d.get(), "KXModelAnimation", c);
        parent = a;
        child = b;
        owner = c;
        part = d;
    }
    // The store's unregistered pair is held by nothing but itself already.
    EXPECT_FALSE(owner.expired());
    store->clear();
    EXPECT_TRUE(parent.expired());
    EXPECT_TRUE(child.expired());
    EXPECT_TRUE(owner.expired());
    EXPECT_TRUE(part.expired());
}

TEST_F(ModelStoreTest, ALoopHeldFromElsewhereStaysWholeThroughClear) {
    ModelPtr a = make("a");
    ModelPtr b = make("b");
    a->addChild(b);
    b->addChild(a);
    ModelPtr outside = make("outside");
    new FakeReferenceAttribute("Into", outside.get(), "KXModelAnimation", b);
    store->addModel(a);
    std::weak_ptr<KXModel> watch = a;
    a.reset();
    b.reset();
    store->clear();
    ASSERT_FALSE(watch.expired());
    ModelPtr held = outside->attribute("Into")->referencedModel();
    ASSERT_EQ(held->children().size(), 1u);
    EXPECT_EQ(held->children()[0], watch.lock());
    EXPECT_EQ(held->name(), "b");
    EXPECT_EQ(watch.lock()->children()[0], held);
    // Let go of it all: the loop goes with its last holder.
    held.reset();
    outside.reset();
    store->clear();
    EXPECT_TRUE(watch.expired());
}

TEST_F(ModelStoreTest, RegistryKeepsTheFirstCreator) {
    const kxtest::ScopedModelClass testOnly("KXTestOnlyClass");
    store->registerClass("KXTestOnlyClass", [] { return KXModel::makeShared<TestModel>("first"); });
    store->registerClass("KXTestOnlyClass", [] { return KXModel::makeShared<TestModel>("second"); });
    ASSERT_TRUE(store->hasClass("KXTestOnlyClass"));
    EXPECT_EQ(store->createModel("KXTestOnlyClass")->name(), "first");
    EXPECT_EQ(store->classNames().back(), "KXTestOnlyClass");
    EXPECT_EQ(store->createModel("NoSuchClass"), nullptr);
    // A created model does not join the store by itself.
    EXPECT_TRUE(store->modelsById().empty());
}

TEST_F(ModelStoreTest, AnUnregisteredClassLeavesTheRegistryAsItWas) {
    const std::vector<std::string> before = store->classNames();
    store->registerClass("KXTestOnlyClass", [] { return KXModel::makeShared<TestModel>("only"); });
    store->unregisterClass("KXTestOnlyClass");
    store->unregisterClass("NoSuchClass");
    EXPECT_FALSE(store->hasClass("KXTestOnlyClass"));
    EXPECT_EQ(store->createModel("KXTestOnlyClass"), nullptr);
    EXPECT_EQ(store->classNames(), before);
}

} // namespace
