#pragma once

// How many particles the emitters of one field may hold together. Each emitter holds up to its
// model's total (10,000 at most) and every frame moves each living particle and builds a square
// for it, so a level of thousands of large emitters would take gigabytes and seconds a frame.
// An emitter takes its share when it comes into the field's object layer, in the order the field
// places its objects, and holds it until it goes; one that does not fit is given what is left
// (none once the budget is spent: it emits nothing). The first emitter cut says so, once a field.

#include <cstdint>

class KXPParticleBudget {
public:
    // Twenty emitters of the largest size; a level with dozens of effects on screen holds a few
    // thousand particles.
    static constexpr int64_t kParticles = 200000;

    // The particles given for a wanted total: as wanted when they fit beside what is held, else
    // what is left. What is given is held until given back.
    unsigned int take(unsigned int wanted);
    void giveBack(unsigned int given);
    int64_t held() const { return m_held; }

    // An emitter was given less than it wanted: true the first time for the field (to say so).
    bool refuse();

private:
    int64_t m_held = 0;
    bool m_refused = false;
};
