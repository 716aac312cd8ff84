// The demo's collectables and watchers: coins along the hero's way (each worth one coin, its
// value rising from it), a magnet that pulls coins in, a shield bubble that keeps the hero alive
// for a while, checkpoint flags that store where a run can go on from, a feather that lightens
// the hero's fall for a while, and on the heads-up screen an observer that opens the end screen at game over.
#pragma once

namespace kxdata {
namespace demo {

struct DemoGame;

// The names tests look for.
constexpr const char* kDemoCoinAsset = "Coin";
constexpr const char* kDemoMagnetAsset = "Magnet";
constexpr const char* kDemoShieldAsset = "Shield";
constexpr const char* kDemoCheckpointAsset = "Checkpoint";
constexpr const char* kDemoFeatherAsset = "Feather";
constexpr const char* kDemoGameOverObserver = "Game Over";
// The shop's button that sells the heads-up screen's shields.
constexpr const char* kDemoBuyShieldButton = "Buy Shield";
// The world's gravity while the feather lasts (the scene's own is 0, -50).
constexpr float kDemoFeatherGravity = -22.0f;
// The meadow's coins, each worth one coin.
constexpr int kDemoMeadowCoins = 5;

// After the scene, its sections, the heads-up screen and the end screen exist.
void addDemoPowerups(DemoGame& game);

} // namespace demo
} // namespace kxdata
