#pragma once

// The node portals stand on as partners of one another. It numbers the states of its portals: the
// number changes whenever one of its portals comes, goes, changes place among its children or
// moves, so that what was worked out of their places holds while the number stays.

class KXPPortalLayer {
public:
    virtual ~KXPPortalLayer() = default;

    virtual unsigned long portalsVersion() const = 0;
    // Said by a portal on the node that moved, or began or stopped being a partner.
    virtual void portalChanged() = 0;
};
