#pragma once

// Casts of a shared model pointer to a concrete model class. The class tree is single
// inheritance under KXModel, so a cast keeps the object address.

#include "model/KXModel.h"

#include <memory>

// The model as T when its class is exactly T (a class derived from T does not pass).
template <class T> std::shared_ptr<T> modelCast(const std::shared_ptr<KXModel>& model) {
    if (model && model->typeId() == T::staticType()) {
        return std::static_pointer_cast<T>(model);
    }
    return nullptr;
}

// The model as T when its class is T or derived from T.
template <class T> std::shared_ptr<T> modelKindCast(const std::shared_ptr<KXModel>& model) {
    if (model && model->isKindOf(T::staticType())) {
        return std::static_pointer_cast<T>(model);
    }
    return nullptr;
}
