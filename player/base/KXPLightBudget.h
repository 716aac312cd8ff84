#pragma once

// What the lights of one field may do together in one step. Each light rebuilds its lit polygon
// every step, casting a ray through each corner of the shapes that block light around it, and
// draws it over its whole square, blended; a level of hundreds of lights would take seconds a
// frame, in the rays or in the drawing.
// - Shadows: the lights cast at most kShadowRaysPerStep rays in a step. The first light whose
//   rays do not fit, and every light after it in the step, is lit without shadows.
// - Light: the lit squares, within the screen, cover at most kLitScreensPerStep screens in a
//   step. The first light that does not fit, and every light after it in the step that would
//   light the screen, is not drawn in that step.
// The field updates its lights in its own order, so that the same level always gives the same
// lights. Each kind of refusal is said once for the field.

class KXPLightBudget {
public:
    static constexpr int kShadowRaysPerStep = 16384;
    static constexpr float kLitScreensPerStep = 24.0f;

    // A new step: nothing taken.
    void beginStep();

    // Rays the next light may cast for its shadows; 0 once a light went without in the step.
    int shadowRaysLeft() const { return m_shadowsRefused ? 0 : kShadowRaysPerStep - m_rays; }
    // A light cast that many rays (no more than were left).
    void castShadowRays(int rays);
    // A light needed more rays than were left: the shadows are over for the step. True the first
    // time for the field (to say so).
    bool refuseShadows();

    // A light would light `share` of the screen (its lit part's area over the screen's): true when
    // that fits beside what the step's lights lit so far, and taken then. Nothing more fits in the
    // step once a light did not.
    bool takeLight(float share);
    // True the first time a light was not drawn for the field (to say so).
    bool refuseLight();

    int raysCast() const { return m_rays; }
    float screensLit() const { return m_lit; }

private:
    int m_rays = 0;
    float m_lit = 0.0f;
    bool m_shadowsRefused = false;
    bool m_lightRefused = false;
    bool m_saidShadows = false;
    bool m_saidLight = false;
};
