#include "model/KXStoredShape.h"

#include <utility>

KXStoredShapeError::KXStoredShapeError(std::string entry, std::string expected)
    : m_expected(std::move(expected)) {
    if (!entry.empty()) {
        m_path.push_back(std::move(entry));
    }
    compose();
}

KXStoredShapeError KXStoredShapeError::within(const std::string& outer) const {
    KXStoredShapeError error = *this;
    error.m_path.push_back(outer);
    error.compose();
    return error;
}

KXStoredShapeError KXStoredShapeError::inModel(const std::string& model) const {
    KXStoredShapeError error = *this;
    error.m_model = model;
    error.compose();
    return error;
}

void KXStoredShapeError::compose() {
    // "Name", "the value of Name", "the x of the value of Name".
    std::string entry;
    for (size_t i = 0; i < m_path.size(); ++i) {
        entry += i + 1 < m_path.size() ? "the " + m_path[i] + " of " : m_path[i];
    }
    m_text = m_model.empty() ? std::string() : m_model + ": ";
    m_text += (entry.empty() ? std::string("a value") : entry) + " is not " + m_expected;
}
