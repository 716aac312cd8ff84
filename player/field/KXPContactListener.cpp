#include "player/field/KXPContactListener.h"

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPBodyData.h"

namespace {
KXPObjectAsset* assetOf(b2Fixture* fixture) {
    return KXPBodyData::nodeAs<KXPObjectAsset>(fixture);
}

bool isBoundaryAgainst(const b2Fixture* boundary, const b2Fixture* other) {
    return boundary->GetFilterData().maskBits == KXPContactListener::kBoundaryMaskBits &&
           other->GetFilterData().categoryBits == KXPContactListener::kBoundaryCategoryBits;
}
} // namespace

void KXPContactListener::BeginContact(b2Contact* contact) {
    KXPObjectAsset* a = assetOf(contact->GetFixtureA());
    KXPObjectAsset* b = assetOf(contact->GetFixtureB());
    if (a == nullptr || b == nullptr) {
        return;
    }
    a->beginContact(b, contact, true);
    b->beginContact(a, contact, true);
}

void KXPContactListener::EndContact(b2Contact* contact) {
    KXPObjectAsset* a = assetOf(contact->GetFixtureA());
    KXPObjectAsset* b = assetOf(contact->GetFixtureB());
    if (a == nullptr || b == nullptr) {
        return;
    }
    a->endContact(b, contact);
    b->endContact(a, contact);
}

void KXPContactListener::PreSolve(b2Contact* contact, const b2Manifold* oldManifold) {
    if (disableOutsideBoundary(contact)) {
        return;
    }
    KXPObjectAsset* a = assetOf(contact->GetFixtureA());
    KXPObjectAsset* b = assetOf(contact->GetFixtureB());
    if (a == nullptr || b == nullptr) {
        return;
    }
    a->preSolve(b, contact, oldManifold);
    b->preSolve(a, contact, oldManifold);
}

bool KXPContactListener::disableOutsideBoundary(b2Contact* contact) {
    b2Fixture* a = contact->GetFixtureA();
    b2Fixture* b = contact->GetFixtureB();
    b2Fixture* other = nullptr;
    if (isBoundaryAgainst(a, b)) {
        other = b;
    } else if (isBoundaryAgainst(b, a)) {
        other = a;
    } else {
        return false;
    }
    if (!m_viewBoxSource) {
        return false;
    }
    if (boxContainsFixture(m_viewBoxSource(), other)) {
        return false;
    }
    contact->SetEnabled(false);
    return true;
}

bool KXPContactListener::boxContainsFixture(const b2AABB& box, b2Fixture* fixture) {
    if (fixture == nullptr || fixture->GetBody() == nullptr || !fixture->GetBody()->IsEnabled()) {
        return false;
    }
    const b2AABB own = fixture->GetAABB(0);
    return own.lowerBound.x >= box.lowerBound.x && own.lowerBound.y >= box.lowerBound.y &&
           own.upperBound.x <= box.upperBound.x && own.upperBound.y <= box.upperBound.y;
}
