#include "player/base/KXPNoise.h"

#include "model/KXNumeric.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kLattice = 256;
constexpr int kMask = kLattice - 1;
constexpr int kTableSize = kLattice + kLattice + 2;
// Keeps t positive for every x the callers use, so truncation and floor agree.
constexpr double kOffset = 4096.0;

struct NoiseTables {
    int permutation[kTableSize];
    double gradient1[kTableSize];
    double gradient2[kTableSize][2];
    double gradient3[kTableSize][3];
    bool pending = true;
};

NoiseTables& tables() {
    static NoiseTables noise;
    return noise;
}

// A gradient component in [-1, 1).
double randomComponent() {
    return static_cast<double>((std::rand() % (kLattice + kLattice)) - kLattice) / kLattice;
}

template <int N> void normalise(double (&vector)[N]) {
    double length = 0.0;
    for (double component : vector) {
        length += component * component;
    }
    length = std::sqrt(length);
    if (length == 0.0) {
        return; // every component drew 0: a zero gradient, as good as any
    }
    for (double& component : vector) {
        component /= length;
    }
}

} // namespace

void noiseInit() {
    NoiseTables& noise = tables();
    for (int i = 0; i < kLattice; ++i) {
        noise.permutation[i] = i;
        noise.gradient1[i] = randomComponent();
        for (double& component : noise.gradient2[i]) {
            component = randomComponent();
        }
        normalise(noise.gradient2[i]);
        for (double& component : noise.gradient3[i]) {
            component = randomComponent();
        }
        normalise(noise.gradient3[i]);
    }
    for (int i = kMask; i > 0; --i) {
        const int j = std::rand() % kLattice;
        const int kept = noise.permutation[i];
        noise.permutation[i] = noise.permutation[j];
        noise.permutation[j] = kept;
    }
    for (int i = 0; i < kLattice + 2; ++i) {
        noise.permutation[kLattice + i] = noise.permutation[i];
        noise.gradient1[kLattice + i] = noise.gradient1[i];
        for (int k = 0; k < 2; ++k) {
            noise.gradient2[kLattice + i][k] = noise.gradient2[i][k];
        }
        for (int k = 0; k < 3; ++k) {
            noise.gradient3[kLattice + i][k] = noise.gradient3[i][k];
        }
    }
    noise.pending = false;
}

double noise1(double x) {
    NoiseTables& noise = tables();
    if (noise.pending) {
        noiseInit();
    }
    const double t = x + kOffset;
    const int whole = kx::truncateToInt(t);
    const int b0 = whole & kMask;
    const int b1 = (b0 + 1) & kMask;
    const double r0 = t - whole;
    const double r1 = r0 - 1.0;
    const double u = r0 * noise.gradient1[noise.permutation[b0]];
    const double v = r1 * noise.gradient1[noise.permutation[b1]];
    const double s = r0 * r0 * (3.0 - 2.0 * r0);
    return u + s * (v - u);
}
