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

void KXPObjectAssetMirror::prepare() {
    m_prepared = true;
    const std::shared_ptr<KXModelObjectMirror> model = mirrorModel();
    if (!model) {
        return;
    }
    const CCSize size = textureSizeFor(model->animatedScale(0.0f, 0));
    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    m_renderTexture = CCRenderTexture::create(width, height);
    if (m_renderTexture == nullptr) {
        debugLog("[KXPObjectAssetMirror] cannot make a %d x %d reflection: the mirror shows nothing", width,
                 height);
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
        prepare();
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
    if (!isVisible() || m_renderTexture == nullptr) {
        return;
    }
    m_renderTexture->setPosition(getPosition());
    m_renderTexture->setRotation(getRotation());
    m_renderTexture->setScaleY(-1.0f);
    m_renderTexture->visit();
}
