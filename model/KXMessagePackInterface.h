// The stored-form contract shared by models, attributes and animation curves: each
// writes itself into, and reads itself from, an attributes map and a connections map.
#pragma once

class KXMessagePackMap;

class KXMessagePackInterface {
public:
    virtual ~KXMessagePackInterface() = default;

    // Adds every key name this object would store to the process-wide key registry.
    virtual void registerKeys() const = 0;
    virtual void packValues(KXMessagePackMap& map) const = 0;
    virtual void unpackValues(const KXMessagePackMap& map) = 0;
    virtual void packConnections(KXMessagePackMap& map) const = 0;
    virtual void unpackConnections(const KXMessagePackMap& map) = 0;
};
