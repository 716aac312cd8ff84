#pragma once

// Keeps the current screen and opens screens along the screen graph. For now it holds the key of
// the current game scene, which the score and checkpoint tables use to find the current world.

#include <string>

class KXPScreensController {
public:
    // The single instance, made on first use and kept for the process.
    static KXPScreensController* shared();

    KXPScreensController(const KXPScreensController&) = delete;
    KXPScreensController& operator=(const KXPScreensController&) = delete;

    // The "Key" of the current game scene's screen; empty while no game scene is current.
    const std::string& currentSceneKey() const { return m_currentSceneKey; }
    void setCurrentSceneKey(const std::string& key) { m_currentSceneKey = key; }
    // The id of the level section the running level started from; 0 when none.
    int currentLevelSectionId() const { return m_currentLevelSectionId; }
    void setCurrentLevelSectionId(int id) { m_currentLevelSectionId = id; }
    // The id of the first level section after `id`, in load order, of the same game scene; 0 when
    // `id` is 0, names no loaded section, or is the scene's last.
    int nextLevelSectionId(int id) const;

private:
    KXPScreensController() = default;

    std::string m_currentSceneKey;
    int m_currentLevelSectionId = 0;
};
