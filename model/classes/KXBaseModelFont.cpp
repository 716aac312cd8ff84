#include "model/classes/KXBaseModelFont.h"

#include "cocos2d.h"
#include "model/classes/KXMediaPath.h"

using namespace cocos2d;

KXBaseModelFont::KXBaseModelFont(const std::string& name) : KXModel(name) {}

KXBaseModelFont::KXBaseModelFont(const KXBaseModelFont& source) : KXModel(source) {}

std::string KXBaseModelFont::fontFile() const {
    return kxMediaPath("/fonts/KXModelFont_ID", id(), ".fnt", KXMediaIdForm::Unsigned);
}

CCLabelBMFont* KXBaseModelFont::createLabel() const {
    CCLabelBMFont* label = new CCLabelBMFont();
    if (!label->initWithString("0", fontFile().c_str(), kCCLabelAutomaticWidth, kCCTextAlignmentLeft,
                               CCPointZero)) {
        label->release();
        return nullptr;
    }
    label->setAlignment(kCCTextAlignmentLeft);
    label->setAnchorPoint(CCPoint(0.0f, 0.5f));
    return label;
}
