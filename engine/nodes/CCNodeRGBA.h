// A node that stores a colour and an opacity (for subclasses that draw with them, and for
// opacity actions).
#pragma once

#include "nodes/CCNode.h"
#include "nodes/CCProtocols.h"

NS_CC_BEGIN

class CCNodeRGBA : public CCNode, public CCRGBAProtocol {
public:
    CCNodeRGBA() = default;

    static CCNodeRGBA* create();

    CCRGBAProtocol* getRGBAProtocol() override { return this; }

    void setColor(const ccColor3B& color) override { m_tColor = color; }
    const ccColor3B& getColor() override { return m_tColor; }
    void setOpacity(GLubyte opacity) override { m_cOpacity = opacity; }
    GLubyte getOpacity() override { return m_cOpacity; }
    void setOpacityModifyRGB(bool bValue) override { m_bOpacityModifyRGB = bValue; }
    bool isOpacityModifyRGB() override { return m_bOpacityModifyRGB; }

protected:
    ccColor3B m_tColor{255, 255, 255};
    GLubyte m_cOpacity = 255;
    bool m_bOpacityModifyRGB = false;
};

NS_CC_END
