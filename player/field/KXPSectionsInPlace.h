#pragma once

// The level sections that add no distance (a width of 0, below 0, no number, or one too thin to
// move the laid distance on by a point) laid at the laid distance. Laying one leaves the laid
// distance where it was, so the streaming would choose it there again at every step and pile its
// objects up for ever: laid once, it no longer qualifies at that distance, and the level goes on
// with the other sections.

#include <algorithm>
#include <vector>

class KXModelLevelSection;

class KXPSectionsInPlace {
public:
    void laid(const KXModelLevelSection* section, float distance) {
        if (distance != m_distance) {
            m_sections.clear();
            m_distance = distance;
        }
        if (!isLaid(section, distance)) {
            m_sections.push_back(section);
        }
    }
    bool isLaid(const KXModelLevelSection* section, float distance) const {
        return distance == m_distance &&
               std::find(m_sections.begin(), m_sections.end(), section) != m_sections.end();
    }
    // A new level lays from its start again.
    void clear() { m_sections.clear(); }

private:
    float m_distance = 0.0f;
    // Compared only, never followed: the scene's section list holds them.
    std::vector<const KXModelLevelSection*> m_sections;
};
