// Interfaces of nodes that carry a colour and an opacity.
#pragma once

#include "base/ccTypes.h"

NS_CC_BEGIN

class CCRGBAProtocol {
public:
    virtual ~CCRGBAProtocol() = default;

    virtual void setColor(const ccColor3B& color) = 0;
    virtual const ccColor3B& getColor() = 0;
    virtual const ccColor3B& getDisplayedColor() { return getColor(); }
    virtual void setOpacity(GLubyte opacity) = 0;
    virtual GLubyte getOpacity() = 0;
    virtual GLubyte getDisplayedOpacity() { return getOpacity(); }
    // Whether the colour is multiplied by the opacity when drawn (premultiplied textures).
    virtual void setOpacityModifyRGB(bool bValue) { (void)bValue; }
    virtual bool isOpacityModifyRGB() { return false; }
};

NS_CC_END
