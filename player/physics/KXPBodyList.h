#pragma once

// Bodies kept in an order (those held out of the physics, oldest first; those flagged for the next
// step), each taken out at once wherever it stands: its place is left empty, and the list closed up
// once half of it is. Taking out one body of tens of thousands, each as it goes (a section of held
// coins deleted at once), would otherwise move all those after it.

#include <box2d/box2d.h>

#include <cstddef>
#include <vector>

class KXPBodyList {
public:
    // The bodies in it, and the places it has (the emptied ones too).
    size_t size() const { return m_bodies.size() - m_emptied; }
    bool empty() const { return size() == 0; }
    size_t places() const { return m_bodies.size(); }
    // The body at a place, null where it was taken out.
    b2Body* at(size_t place) const { return m_bodies[place]; }

    // Adds a body at the end; answers its place.
    size_t add(b2Body* body) {
        m_bodies.push_back(body);
        return m_bodies.size() - 1;
    }
    void remove(size_t place) {
        if (m_bodies[place] != nullptr) {
            m_bodies[place] = nullptr;
            ++m_emptied;
        }
    }
    void clear() {
        m_bodies.clear();
        m_emptied = 0;
    }
    // Whether half of its places are empty.
    bool sparse() const { return m_emptied > 0 && 2 * m_emptied >= m_bodies.size(); }
    // Closes up the empty places, telling `moved(body, place)` each body's new place; answers the new
    // place of what stood at `kept` (the first body at or after it), so that a walk goes on there.
    template <class Moved> size_t closeUp(size_t kept, Moved moved) {
        size_t next = 0;
        size_t keptNow = 0;
        for (size_t place = 0; place < m_bodies.size(); ++place) {
            if (place == kept) {
                keptNow = next;
            }
            if (m_bodies[place] != nullptr) {
                m_bodies[next] = m_bodies[place];
                moved(m_bodies[next], next);
                ++next;
            }
        }
        if (kept >= m_bodies.size()) {
            keptNow = next;
        }
        m_bodies.resize(next);
        m_emptied = 0;
        return keptNow;
    }

private:
    std::vector<b2Body*> m_bodies;
    size_t m_emptied = 0;
};
