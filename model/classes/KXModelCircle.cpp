#include "model/classes/KXModelCircle.h"
#include "base/CCGeometry.h"
#include "base/CCPointExtension.h"

using namespace cocos2d;

KXModelCircle::KXModelCircle(const std::string& name) : KXModelPolygon(name) {}

KXModelCircle::KXModelCircle(const KXModelCircle& source) : KXModelPolygon(source) {}

void KXModelCircle::addPoint(const CCPoint& point, bool silent) {
    if (pointCount() < 2) {
        KXModelPolygon::addPoint(point, silent);
    }
}

void KXModelCircle::insertPoint(int /*index*/, const CCPoint& /*point*/, bool silent) {
    if (!isEmpty()) {
        return;
    }
    addPoint(CCPoint(0.0f, 0.0f), true);
    addPoint(CCPoint(kDefaultRadius, 0.0f), true);
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelCircle::removePoint(int /*index*/, bool silent) {
    removeAllPoints(silent);
}

void KXModelCircle::setPoint(int index, const CCPoint& point, bool silent) {
    const CCPoint oldCentre = pointAt(0);
    KXModelPolygon::setPoint(index, point, true);
    if (index == 0) {
        const CCPoint moved = pointAt(0);
        const CCPoint rim = pointAt(1);
        KXModelPolygon::setPoint(1, CCPoint(rim.x + moved.x - oldCentre.x, rim.y + moved.y - oldCentre.y),
                                 true);
    }
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelCircle::setBox(const CCSize& size, const CCPoint& offset, bool silent) {
    float radius = kDefaultRadius;
    if (size.width > 0.0f || size.height > 0.0f) {
        radius =
            static_cast<float>((static_cast<double>(size.width) + static_cast<double>(size.height)) / 5.0);
    }
    addPoint(CCPoint(-offset.x, -offset.y), true);
    addPoint(CCPoint(radius - offset.x, -offset.y), true);
    if (!silent) {
        notifyModelChanged();
    }
}

float KXModelCircle::radius() const {
    if (isEmpty()) {
        return 0.0f;
    }
    return ccpDistance(pointAt(0), pointAt(1));
}
