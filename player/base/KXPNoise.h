#pragma once

// One-dimensional gradient noise: smooth values of about -1 to 1 that drive the screen shake and
// bend trails and flags. The lattice of 256 gradients and its shuffled permutation are drawn with
// rand() on the first call, so a seeded rand() gives the same noise every run.

// The noise at x; 0 at every whole number.
double noise1(double x);

// Builds the lattice; noise1 calls it on its first use. Calling it again draws a new lattice.
void noiseInit();
