#pragma once

// Typed queries over the model store and over a model's children and parents. The store's
// queries default to the shared controller. Only createModel<T> changes anything.

#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelCasts.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

// --- store ---

// The model with that id when it is exactly a T.
template <class T>
std::shared_ptr<T> getModel(uint32_t id, const KXModelController& store = *KXModelController::shared()) {
    return modelCast<T>(store.getModel(id));
}

// The model with that id when it is a T or derived from T.
template <class T>
std::shared_ptr<T> getModelOfKind(uint32_t id,
                                  const KXModelController& store = *KXModelController::shared()) {
    return modelKindCast<T>(store.getModel(id));
}

// A new T from its creator, added to the store (with its children and referred models).
template <class T> std::shared_ptr<T> createModel(KXModelController& store = *KXModelController::shared()) {
    std::shared_ptr<T> model = std::static_pointer_cast<T>(T::create());
    store.addModel(model);
    return model;
}

// The stored models of exactly class T, in store order.
template <class T>
std::vector<std::shared_ptr<T>> getModels(const KXModelController& store = *KXModelController::shared()) {
    std::vector<std::shared_ptr<T>> result;
    for (const std::shared_ptr<KXModel>& model : store.getModelsByType(T::staticType())) {
        result.push_back(std::static_pointer_cast<T>(model));
    }
    return result;
}

// The stored models of T and of every class derived from it, grouped by class in ascending
// order of type id, each group in store order.
template <class T>
std::vector<std::shared_ptr<T>>
getModelsOfKind(const KXModelController& store = *KXModelController::shared()) {
    std::vector<std::shared_ptr<T>> result;
    for (const std::shared_ptr<KXModel>& model : store.getModelsByKind(T::staticType())) {
        result.push_back(std::static_pointer_cast<T>(model));
    }
    return result;
}

// --- children and parents ---

// The children of exactly class T, in child order.
template <class T> std::vector<std::shared_ptr<T>> getChildren(const KXModel& model) {
    std::vector<std::shared_ptr<T>> result;
    for (const std::shared_ptr<KXModel>& child : model.children()) {
        if (std::shared_ptr<T> cast = modelCast<T>(child)) {
            result.push_back(cast);
        }
    }
    return result;
}

// The children of T or of a class derived from it, in child order.
template <class T> std::vector<std::shared_ptr<T>> getChildrenOfKind(const KXModel& model) {
    std::vector<std::shared_ptr<T>> result;
    for (const std::shared_ptr<KXModel>& child : model.children()) {
        if (std::shared_ptr<T> cast = modelKindCast<T>(child)) {
            result.push_back(cast);
        }
    }
    return result;
}

// The first child of exactly class T, or empty.
template <class T> std::shared_ptr<T> getFirstChild(const KXModel& model) {
    for (const std::shared_ptr<KXModel>& child : model.children()) {
        if (std::shared_ptr<T> cast = modelCast<T>(child)) {
            return cast;
        }
    }
    return nullptr;
}

// Another name for getFirstChild, used by the screen-graph nodes for their screen.
template <class T> std::shared_ptr<T> getChild(const KXModel& model) {
    return getFirstChild<T>(model);
}

// The first live parent of exactly class T, in the order the parents were added, or empty.
template <class T> std::shared_ptr<T> getFirstParent(const KXModel& model) {
    for (const std::shared_ptr<KXModel>& parent : model.getParents()) {
        if (std::shared_ptr<T> cast = modelCast<T>(parent)) {
            return cast;
        }
    }
    return nullptr;
}
