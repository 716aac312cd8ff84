#include <GL/glew.h>

#include "player/objects/effects/KXPObjectAssetLight.h"

#include "kazmath/GL/matrix.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelObjectLight.h"
#include "player/base/KXPLevelField.h"
#include "player/base/KXPLightBudget.h"
#include "player/objects/KXPLayerSpace.h"
#include "player/objects/effects/KXPEffectTexture.h"
#include "player/store/KXPSettingsController.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace cocos2d;

namespace {
constexpr const char* kLightMapFile = "/fx/lightMap.png";
} // namespace

KXPObjectAssetLight::KXPObjectAssetLight(const std::shared_ptr<KXModelObjectLight>& model)
    : KXPObjectAsset(model) {
    m_collisionType = kCollisionNone;
    m_linearMovement = true;
    setType(kTypeEffect);
    m_texture = retainEffectTexture(nullptr, kLightMapFile, "KXPObjectAssetLight", "light");
}

KXPObjectAssetLight::~KXPObjectAssetLight() {
    if (m_texture != nullptr) {
        m_texture->release();
    }
}

std::shared_ptr<KXModelObjectLight> KXPObjectAssetLight::lightModel() const {
    // A removed light keeps its model for anyone still asking for it, but is out for good.
    if (m_out) {
        return nullptr;
    }
    return std::static_pointer_cast<KXModelObjectLight>(m_model);
}

void KXPObjectAssetLight::addToWorld(b2World* world, bool skipStill) {
    (void)skipStill;
    m_world = world;
}

void KXPObjectAssetLight::setState(int32_t state) {
    const int32_t previous = m_state;
    m_state = state;
    if (previous != state) {
        // As KXPObject::setState tells it (a light has no body: no path catches it anyway).
        noteChangeToParentWatch();
    }
    if (state == kStateRemoved) {
        m_out = true;
        m_fan.clear();
    }
}

bool KXPObjectAssetLight::castsShadows() const {
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    return model && model->castShadow() && !KXPSettingsController::shared()->isSlowLoading();
}

b2Vec2 KXPObjectAssetLight::lightCentre() {
    const CCPoint position = positionInObjectLayer();
    return b2Vec2(position.x * kMetresPerPoint, position.y * kMetresPerPoint);
}

CCRect KXPObjectAssetLight::boundingRect() {
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    if (!model) {
        return CCRectZero;
    }
    const float half = model->radius() * KXPLightFan::kPointsPerMetre;
    const CCPoint position = positionInObjectLayer();
    return CCRect(position.x - half, position.y - half, half * 2.0f, half * 2.0f);
}

void KXPObjectAssetLight::update(float dt) {
    if (!lightModel()) {
        return;
    }
    KXPObject::update(dt);
    m_fan.clear();
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    if (!model || m_world == nullptr || !isVisible()) {
        return;
    }
    if (KXPLightBudget* budget = fieldBudget()) {
        buildWithin(*budget, model->radius());
        return;
    }
    m_fan.build(m_world, lightCentre(), model->radius(), castsShadows());
}

KXPLightBudget* KXPObjectAssetLight::fieldBudget() const {
    // The object layer hangs in the field.
    KXPLevelField* field = m_layer != nullptr ? dynamic_cast<KXPLevelField*>(m_layer->getParent()) : nullptr;
    return field != nullptr ? field->lightBudget() : nullptr;
}

void KXPObjectAssetLight::buildWithin(KXPLightBudget& budget, float radius) {
    // A light that is not drawn casts no rays either.
    if (!budget.takeLight(screenShare())) {
        if (budget.refuseLight()) {
            debugLog("[KXPObjectAssetLight] - %s (model %u) and the lights after it in a step are not drawn: "
                     "the field's lights light %.0f screens a step at most",
                     m_model->name().c_str(), m_model->id(), KXPLightBudget::kLitScreensPerStep);
        }
        return;
    }
    const bool shadows = castsShadows();
    const int left = budget.shadowRaysLeft();
    const bool cast = m_fan.build(m_world, lightCentre(), radius, shadows && left > 0, left);
    budget.castShadowRays(m_fan.raysCast());
    if (shadows && (!cast || left == 0) && budget.refuseShadows()) {
        debugLog("[KXPObjectAssetLight] - %s (model %u) and the lights after it in a step are lit without "
                 "shadows: the field's lights cast %d rays a step at most",
                 m_model->name().c_str(), m_model->id(), KXPLightBudget::kShadowRaysPerStep);
    }
}

float KXPObjectAssetLight::screenShare() {
    if (m_layer == nullptr) {
        return 0.0f;
    }
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const CCRect view = CCRectApplyAffineTransform(CCRect(0.0f, 0.0f, window.width, window.height),
                                                   m_layer->worldToNodeTransform());
    const float viewArea = view.size.width * view.size.height;
    if (!(viewArea > 0.0f)) {
        return 0.0f;
    }
    const CCRect square = boundingRect();
    const float width =
        std::min(square.getMaxX(), view.getMaxX()) - std::max(square.getMinX(), view.getMinX());
    const float height =
        std::min(square.getMaxY(), view.getMaxY()) - std::max(square.getMinY(), view.getMinY());
    if (!(width > 0.0f) || !(height > 0.0f)) {
        return 0.0f;
    }
    return width * height / viewArea;
}

void KXPObjectAssetLight::draw() {
    const std::shared_ptr<KXModelObjectLight> model = lightModel();
    if (!model || m_texture == nullptr || !m_shader.isReady()) {
        return;
    }
    const int count = m_fan.prepareForDrawing(model->radius());
    if (count == 0) {
        return;
    }
    kmGLPushMatrix();
    if (getParent() != nullptr) {
        // The fan is drawn unrotated and unscaled around the light centre, in the layer's space
        // (also when a turning carrier holds the light).
        CCPoint centre;
        if (!undoTransformToLayer(this, m_layer, &centre)) {
            kmGLPopMatrix();
            return;
        }
        kmGLTranslatef(centre.x, centre.y, 0.0f);
    }
    const ccColor4F colour = model->color();
    const float alpha = colour.a / 255.0f;
    const float factor = alpha * getOpacityFactor();
    const ccColor4F tint{colour.r / 255.0f * factor, colour.g / 255.0f * factor, colour.b / 255.0f * factor,
                         factor};
    m_shader.draw(GL_TRIANGLE_FAN, m_fan.vertices(), m_fan.texCoords(), count, m_texture, tint);
    kmGLPopMatrix();
}
