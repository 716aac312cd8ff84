#include "player/objects/KXPObjectBackgroundLayer.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "nodes/CCParallaxScrollNode.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
// Far ends of the probe lines, beyond the design area on either side.
constexpr float kFarLeft = -1000.0f;
constexpr float kFarRight = 2136.0f;

// The point where segment a-b meets segment p-q, as the share t along a-b; false when they do
// not meet (or run parallel).
bool segmentsMeet(const CCPoint& a, const CCPoint& b, const CCPoint& p, const CCPoint& q, float* t) {
    const CCPoint r = b - a;
    const CCPoint s = q - p;
    const float denominator = r.x * s.y - r.y * s.x;
    if (denominator == 0.0f) {
        return false;
    }
    const CCPoint ap = p - a;
    const float along = (ap.x * s.y - ap.y * s.x) / denominator;
    const float across = (ap.x * r.y - ap.y * r.x) / denominator;
    if (along < 0.0f || along > 1.0f || across < 0.0f || across > 1.0f) {
        return false;
    }
    *t = along;
    return true;
}

} // namespace

KXPObjectBackgroundLayer*
KXPObjectBackgroundLayer::create(const std::shared_ptr<KXModelObjectBackground>& model) {
    KXPObjectBackgroundLayer* layer = new KXPObjectBackgroundLayer(model);
    layer->autorelease();
    return layer;
}

KXPObjectBackgroundLayer::KXPObjectBackgroundLayer(const std::shared_ptr<KXModelObjectBackground>& model)
    : KXPObject(model) {
    init();
    setType(kTypeBackgroundLayer);
    m_scrollNode = CCParallaxScrollNode::create();
    m_scrollNode->retain();
    m_scrollNode->setAnchorPoint(CCPoint(0.5f, 0.5f));
    if (model && model->image()) {
        buildStrip(*model);
    }
}

KXPObjectBackgroundLayer::~KXPObjectBackgroundLayer() {
    CC_SAFE_RELEASE(m_scrollNode);
}

float KXPObjectBackgroundLayer::visibleExtent(const KXModelObjectBackground& model, int side) {
    if (side == 0) {
        return 0.0f;
    }
    const CCPoint a = model.animatedPosition(0.0f, 0);
    const CCPoint far(side < 0 ? kFarLeft : kFarRight, a.y);
    const CCPoint b = ccpRotateByAngle(far, a, -model.animatedRotation(0.0f, 0) * kRadiansPerDegree);
    const CCSize design = KXBaseModelObject::designSize();
    const CCPoint corners[4] = {CCPoint(0.0f, 0.0f), CCPoint(design.width, 0.0f),
                                CCPoint(design.width, design.height), CCPoint(0.0f, design.height)};
    // Where the probe leaves the design area: the furthest crossing of its edges.
    float furthest = 0.0f;
    for (int edge = 0; edge < 4; ++edge) {
        float t = 0.0f;
        if (segmentsMeet(a, b, corners[edge], corners[(edge + 1) % 4], &t)) {
            furthest = std::max(furthest, t);
        }
    }
    return ccpLength(b - a) * furthest;
}

void KXPObjectBackgroundLayer::buildStrip(const KXModelObjectBackground& model) {
    const std::shared_ptr<KXModelSpriteContainer> image = model.image();
    const float left = visibleExtent(model, -1);
    const float right = visibleExtent(model, 1);
    const CCPoint position = model.animatedPosition(0.0f, 0);
    const float rotation = model.animatedRotation(0.0f, 0);
    const CCPoint scale = model.animatedScale(0.0f, 0);
    const CCSize frame = image->frameSourceSizeAt(0.0f);

    const CCPoint start(position.x - (frame.width * scale.x + left), position.y);
    m_initialPosition = ccpRotateByAngle(start, position, -rotation * kRadiansPerDegree);
    setPosition(m_initialPosition);
    setRotation(rotation);

    const float limit = frame.width * scale.x * 3.0f + right + left;
    const float opacity = std::min(1.0f, std::max(0.0f, model.animatedOpacity(0.0f, 0)));
    CCArray* tiles = CCArray::create();
    float covered = 0.0f;
    while (covered <= limit) {
        if (static_cast<int>(tiles->count()) >= kMaxTiles) {
            debugLog("[KXPObjectBackgroundLayer] %s: strip cut at %d tiles", model.name().c_str(), kMaxTiles);
            break;
        }
        CCSprite* tile = image->getSprite(1.0f, true);
        if (tile == nullptr) {
            break;
        }
        if (tile->getContentSize().width == 0.0f) {
            tile->release();
            break;
        }
        tile->setAnchorPoint(CCPoint(0.5f, 0.5f));
        tile->setScaleX(scale.x);
        tile->setScaleY(scale.y);
        tile->setContentSize(frame);
        tile->setOpacity(static_cast<GLubyte>(kx::truncateToInt(opacity * 255.0f)));
        tiles->addObject(tile);
        tile->release();
        const float advance = tile->getContentSize().width * scale.x + model.tilingOffset();
        covered += advance;
        // A tile that covers no length (or a NaN one) would never end the strip.
        if (!(advance > 0.0f)) {
            break;
        }
    }

    if (model.fixedRotation()) {
        m_scrollNode->setTileRotation(-getRotation());
    }
    m_scrollNode->addTiledStrip(tiles, 0, CCPoint(model.speed(), 0.0f),
                                CCPoint(0.0f, -frame.height * 0.5f * scale.y), CCPoint(1.0f, 0.0f),
                                CCPointZero, CCPoint(model.tilingOffset() * scale.x - 1.0f, 0.0f));
    m_scrollNode->setRange(CCSize(limit, 0.0f));
    addChild(m_scrollNode);
}

void KXPObjectBackgroundLayer::update(float dt) {
    // Not the object update: a background is never hidden by the on-screen test.
    if (m_scrollNode->getChildrenCount() > 0) {
        m_scrollNode->advance(CCPoint(-1.0f, -1.0f), dt * 0.03125f);
    }
}

void KXPObjectBackgroundLayer::scrollWithVelocity(float velocity, float dt) {
    if (m_scrollNode->getChildrenCount() > 0) {
        m_scrollNode->advance(CCPoint(-velocity, -velocity), dt);
    }
}

void KXPObjectBackgroundLayer::restoreInitialState() {
    setPosition(m_initialPosition);
}
