#pragma once

// Collects the fixtures of a box that block light (their object says so), up to a limit; the
// light searches its square of influence with it.

#include <box2d/box2d.h>

#include <cstddef>
#include <vector>

class KXLightFixturesQueryCallback : public b2QueryCallback {
public:
    explicit KXLightFixturesQueryCallback(size_t limit) : m_limit(limit) {}
    ~KXLightFixturesQueryCallback() override = default;

    // Keeps the fixture when its object blocks light and the limit is not reached; the query
    // stops once it is.
    bool ReportFixture(b2Fixture* fixture) override;

    const std::vector<b2Fixture*>& fixtures() const { return m_fixtures; }

    // Whether the fixture belongs to an object that blocks light.
    static bool blocksLight(b2Fixture* fixture);

private:
    size_t m_limit;
    std::vector<b2Fixture*> m_fixtures;
};
