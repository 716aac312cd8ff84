#include "player/objects/KXPLabelSetup.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXBaseModelObjectLabel.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

using namespace cocos2d;

namespace {
constexpr const char* kAlignLeft = "kCCTextAlignmentLeft";
constexpr const char* kAlignCenter = "kCCTextAlignmentCenter";
constexpr const char* kAlignRight = "kCCTextAlignmentRight";
} // namespace

std::string KXPLabelSetup::alignment(const KXBaseModelObjectLabel& model) {
    if (model.action() == kCustomText) {
        return kAlignCenter;
    }
    return model.alignment();
}

int KXPLabelSetup::textAlignment(const KXBaseModelObjectLabel& model) {
    const std::string value = alignment(model);
    if (value == kAlignLeft) {
        return kCCTextAlignmentLeft;
    }
    if (value == kAlignRight) {
        return kCCTextAlignmentRight;
    }
    return kCCTextAlignmentCenter;
}

CCPoint KXPLabelSetup::anchorFor(int textAlignment) {
    switch (textAlignment) {
    case kCCTextAlignmentLeft:
        return CCPoint(0.0f, 0.5f);
    case kCCTextAlignmentRight:
        return CCPoint(1.0f, 0.5f);
    default:
        return CCPoint(0.5f, 0.5f);
    }
}

uint32_t KXPLabelSetup::fontId(const KXBaseModelObjectLabel& model) {
    const std::string& text = model.font();
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < 0 ||
        value > static_cast<long long>(std::numeric_limits<uint32_t>::max())) {
        return 0;
    }
    return static_cast<uint32_t>(value);
}

std::string KXPLabelSetup::firstText(const KXBaseModelObjectLabel& model) {
    if (model.action() == kCustomText) {
        return model.text();
    }
    if (model.action() == kStartSceneName) {
        const uint32_t sectionId = KXPScreensController::shared()->currentLevelSectionId();
        if (sectionId != 0) {
            if (const auto section = getModel<KXModelLevelSection>(sectionId)) {
                return section->name();
            }
        }
    }
    return "0";
}

CCLabelBMFont* KXPLabelSetup::createLabel(const KXBaseModelObjectLabel& model) {
    const uint32_t id = fontId(model);
    const std::shared_ptr<KXModelFont> font = getModel<KXModelFont>(id);
    if (!font) {
        debugLog("[KXPObjectText] %s: no font with id %u, the label shows nothing", model.name().c_str(), id);
        return nullptr;
    }
    CCLabelBMFont* label = font->createLabel();
    if (label == nullptr) {
        debugLog("[KXPObjectText] %s: font %s could not be loaded, the label shows nothing",
                 model.name().c_str(), font->fontFile().c_str());
        return nullptr;
    }
    label->setAnchorPoint(anchorFor(textAlignment(model)));
    label->setTracking(kx::truncateToInt(model.tracking()));
    label->setString(firstText(model).c_str());
    return label;
}
