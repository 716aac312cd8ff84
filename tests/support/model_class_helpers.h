// Helpers for the model-class suites: a fresh model of a class as the registry makes it, the
// attribute names in stored order, and a class's own attribute of a given name and class.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/KXModel.h"

// A new model of class T, made by the creator the registry keeps (not registered).
template <class T> std::shared_ptr<T> make() {
    return std::static_pointer_cast<T>(T::create());
}

// The names of a model's attributes in list order: the stored order the class suites compare
// against.
inline std::vector<std::string> attributeNames(const KXModel& model) {
    std::vector<std::string> names;
    for (const KXBaseAttribute* attribute : model.attributes()) {
        names.push_back(attribute->name());
    }
    return names;
}

// The model's attribute of that name, which must exist with exactly class A: a class that
// lost or retyped it fails the test (GoogleTest reports the exception) rather than the test
// quietly adding it.
template <class A> A* attributeOf(const KXModel& model, const std::string& name) {
    KXBaseAttribute* found = model.attribute(name);
    if (found == nullptr) {
        throw std::logic_error(std::string(model.className()) + " has no attribute \"" + name + "\"");
    }
    if (found->typeId() != A::staticType()) {
        throw std::logic_error(std::string(model.className()) + " attribute \"" + name + "\" is a " +
                               found->className() + ", not a " + A::staticClassName());
    }
    return static_cast<A*>(found);
}
