#include <GL/glew.h>

#include "player/objects/effects/KXPObjectAssetMirror.h"

#include "kazmath/GL/matrix.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelObjectMirror.h"
#include "player/base/KXPLevelField.h"
#include "renderer/CCGLContext.h"
#include "renderer/ccShaders.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {
constexpr const char* kShaderFile = "/shaders/WaterReflection.fsh";
constexpr double kRadiansPerDegree = 0.017453292;

int textureSide(float scale) {
    const int side =
        kx::truncateToInt(static_cast<double>(scale) * KXPObjectAssetMirror::kTexturePixelsPerScale);
    return std::min(std::max(side, 1), KXPObjectAssetMirror::kMaxTextureSide);
}

long long mebibytes(int64_t pixels) {
    return static_cast<long long>(pixels * 4 / (int64_t(1) << 20));
}
} // namespace

KXPObjectAssetMirror::KXPObjectAssetMirror(const std::shared_ptr<KXModelObjectMirror>& model)
    : KXPObjectAsset(model) {
    m_collisionType = kCollisionNone;
    m_linearMovement = true;
    setType(kTypeMirror);
}

KXPObjectAssetMirror::~KXPObjectAssetMirror() {
    // The field's mirror list holds a reference to each mirror in it, so a mirror that goes has
    // left the list already.
    if (m_renderTexture != nullptr) {
        if (m_capturing) {
            m_renderTexture->end();
        }
        m_renderTexture->release();
    }
    if (m_budget) {
        m_budget->giveBack(m_share);
    }
}

std::shared_ptr<KXModelObjectMirror> KXPObjectAssetMirror::mirrorModel() const {
    return std::static_pointer_cast<KXModelObjectMirror>(m_model);
}

CCSize KXPObjectAssetMirror::textureSizeFor(const CCPoint& scale) {
    return CCSize(static_cast<float>(textureSide(scale.x)), static_cast<float>(textureSide(scale.y)));
}

void KXPObjectAssetMirror::update(float dt) {
    (void)dt;
}

void KXPObjectAssetMirror::cleanup() {
    // A node taken out of a running tree has left it before its clean-up. One still running is
    // cleaned up where it stands, by a carrier that does so at its death (a path): it stays
    // listed and drawn.
    if (!isRunning()) {
        for (CCNode* node = getParent(); node != nullptr; node = node->getParent()) {
            if (KXPLevelField* field = dynamic_cast<KXPLevelField*>(node)) {
                // The list's reference goes; the parent's still holds the mirror.
                field->removeMirror(this);
                break;
            }
        }
    }
    KXPObjectAsset::cleanup();
}

CCRect KXPObjectAssetMirror::reflectionBox() {
    const std::shared_ptr<KXModelObjectMirror> model = mirrorModel();
    if (!model) {
        return CCRectZero;
    }
    // The texture's box turned about its centre, the node's place.
    const CCSize size = textureSizeFor(model->animatedScale(0.0f, 0));
    const double angle = static_cast<double>(getRotation()) * kRadiansPerDegree;
    const float c = static_cast<float>(std::fabs(std::cos(angle)));
    const float s = static_cast<float>(std::fabs(std::sin(angle)));
    const float width = size.width * c + size.height * s;
    const float height = size.width * s + size.height * c;
    const CCPoint position = getPosition();
    const CCRect box(position.x - width * 0.5f, position.y - height * 0.5f, width, height);
    return getParent() != nullptr ? CCRectApplyAffineTransform(box, getParent()->nodeToWorldTransform())
                                  : box;
}

bool KXPObjectAssetMirror::capturesInFrame(const std::shared_ptr<KXPMirrorBudget>& budget,
                                           const CCRect& near) {
    m_reflecting = false;
    // Without a texture there is nothing to capture into.
    if (!budget || (m_prepared && m_renderTexture == nullptr) || !near.intersectsRect(reflectionBox())) {
        return false;
    }
    if (!budget->capturesLeft()) {
        sayNoCapture(KXPMirrorBudget::kCapturesPerFrame);
        return false;
    }
    // The texture is made once the mirror has a capture to fill it.
    if (!m_prepared) {
        prepare(budget);
    }
    m_reflecting = m_renderTexture != nullptr && budget->takeCapture();
    return m_reflecting;
}

void KXPObjectAssetMirror::sayNoCapture(int captures) {
    if (m_saidNoCapture) {
        return;
    }
    m_saidNoCapture = true;
    debugLog(
        "[KXPObjectAssetMirror] - %s (model %u) shows no reflection while the %d mirrors before it in the "
        "field reflect",
        m_model->name().c_str(), m_model->id(), captures);
}

KXPMirrorBudget::Size KXPObjectAssetMirror::takeFromBudget(KXPMirrorBudget& budget,
                                                           const KXPMirrorBudget::Size& wanted) {
    const int64_t held = budget.heldPixels();
    const KXPMirrorBudget::Size size = budget.take(wanted);
    if (size.pixels() == 0) {
        debugLog(
            "[KXPObjectAssetMirror] - %s (model %u) shows no reflection: the field's mirrors hold %lld of "
            "their %lld MiB",
            m_model->name().c_str(), m_model->id(), mebibytes(held),
            mebibytes(KXPMirrorBudget::kTexturePixels));
    } else if (size.width != wanted.width || size.height != wanted.height) {
        debugLog(
            "[KXPObjectAssetMirror] - %s (model %u) reflects at %d x %d, not %d x %d: the field's mirrors "
            "hold %lld of their %lld MiB",
            m_model->name().c_str(), m_model->id(), size.width, size.height, wanted.width, wanted.height,
            mebibytes(held), mebibytes(KXPMirrorBudget::kTexturePixels));
    }
    return size;
}

void KXPObjectAssetMirror::prepare(const std::shared_ptr<KXPMirrorBudget>& budget) {
    m_prepared = true;
    const std::shared_ptr<KXModelObjectMirror> model = mirrorModel();
    if (!model) {
        return;
    }
    const CCSize natural = textureSizeFor(model->animatedScale(0.0f, 0));
    const KXPMirrorBudget::Size wanted{static_cast<int>(natural.width), static_cast<int>(natural.height)};
    KXPMirrorBudget::Size size = wanted;
    if (budget) {
        size = takeFromBudget(*budget, wanted);
        if (size.pixels() == 0) {
            return;
        }
        m_budget = budget;
        m_share = size;
    }
    m_captureScale = CCPoint(static_cast<float>(size.width) / natural.width,
                             static_cast<float>(size.height) / natural.height);
    m_renderTexture = CCRenderTexture::create(size.width, size.height);
    if (m_renderTexture == nullptr) {
        debugLog("[KXPObjectAssetMirror] cannot make a %d x %d reflection: the mirror shows nothing",
                 size.width, size.height);
        if (m_budget) {
            m_budget->giveBack(m_share);
            m_budget.reset();
        }
        return;
    }
    m_renderTexture->retain();
    loadReflectionShader();
}

void KXPObjectAssetMirror::loadReflectionShader() {
    if (!ccGLContextReady()) {
        return;
    }
    const std::string path = KXModelController::shared()->dataDirectory() + kShaderFile;
    std::vector<unsigned char> bytes;
    if (!CCFileUtils::sharedFileUtils()->readFile(path, bytes) || bytes.empty()) {
        // The engine's texture shader draws the reflection, untinted.
        return;
    }
    const std::string source(bytes.begin(), bytes.end());
    CCGLProgram* program = new CCGLProgram();
    if (!program->initWithVertexShaderByteArray(ccPositionTextureA8Color_vert, source.c_str())) {
        debugLog("[KXPObjectAssetMirror] \"%s\" does not compile: the reflection is drawn untinted",
                 path.c_str());
        program->release();
        return;
    }
    program->addAttribute(kCCAttributeNamePosition, kCCVertexAttrib_Position);
    program->addAttribute(kCCAttributeNameTexCoord, kCCVertexAttrib_TexCoords);
    if (!program->link()) {
        debugLog("[KXPObjectAssetMirror] \"%s\" does not link: the reflection is drawn untinted",
                 path.c_str());
        program->release();
        return;
    }
    program->updateUniforms();
    program->use();
    m_renderTexture->getSprite()->setShaderProgram(program);
    program->release();
    m_reflectionShader = true;
    m_shadeColorLocation = program->getUniformLocationForName("u_shadeColor");
    const ccColor4F colour = mirrorModel()->color();
    program->setUniformLocationWith4f(m_shadeColorLocation, colour.r / 255.0f, colour.g / 255.0f,
                                      colour.b / 255.0f, colour.a / 255.0f);
}

void KXPObjectAssetMirror::beginCapture() {
    if (!m_prepared) {
        prepare(nullptr);
    }
    m_visibleBeforeCapture = isVisible();
    // Not in its own reflection.
    setVisible(false);
    if (m_renderTexture == nullptr || m_capturing) {
        return;
    }
    m_renderTexture->beginWithClear(0.0f, 0.0f, 0.0f, 0.0f);
    m_capturing = true;
    applyCaptureTransform();
}

void KXPObjectAssetMirror::applyCaptureTransform() {
    const std::shared_ptr<KXModelObjectMirror> model = mirrorModel();
    if (!model) {
        return;
    }
    const CCPoint scale = model->animatedScale(0.0f, 0);
    const float rotation = getRotation();
    const CCPoint position = getPosition();
    const CCPoint layer = m_layer != nullptr ? m_layer->getPosition() : CCPointZero;
    // A reduced texture takes the band at its fraction of the size.
    if (m_captureScale.x != 1.0f || m_captureScale.y != 1.0f) {
        kmGLScalef(m_captureScale.x, m_captureScale.y, 1.0f);
    }
    // Turned about the texture's centre to the mirror's rotation, then the band of the mirror's
    // height right above it (along its own up) moved onto the texture.
    kmGLTranslatef(scale.x * 50.0f, scale.y * 50.0f, 0.0f);
    kmGLRotatef(rotation, 0.0f, 0.0f, 1.0f);
    kmGLTranslatef(-50.0f * scale.x, -50.0f * scale.y, 0.0f);
    const double up = (90.0 - rotation) * kRadiansPerDegree;
    const float upX = static_cast<float>(std::cos(up));
    const float upY = static_cast<float>(std::sin(up));
    kmGLTranslatef(scale.x * 50.0f - scale.y * 100.0f * upX - position.x - layer.x,
                   scale.y * 50.0f - scale.y * 100.0f * upY - position.y - layer.y, 0.0f);
}

void KXPObjectAssetMirror::endCapture() {
    if (m_capturing) {
        m_renderTexture->end();
        m_capturing = false;
    }
    setVisible(m_visibleBeforeCapture);
}

void KXPObjectAssetMirror::visit() {
    CCNode::visit();
    if (!isVisible() || m_renderTexture == nullptr || !m_reflecting) {
        return;
    }
    m_renderTexture->setPosition(getPosition());
    m_renderTexture->setRotation(getRotation());
    m_renderTexture->setScaleX(1.0f / m_captureScale.x);
    m_renderTexture->setScaleY(-1.0f / m_captureScale.y);
    m_renderTexture->visit();
}
