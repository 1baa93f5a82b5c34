#include "volume/phantom.h"

#include <algorithm>
#include <cmath>

namespace sulcan {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGrayThickness = 2.5;  // voxels of gray over the white surface
constexpr double kCsfThickness = 3.0;   // voxels of CSF over the gray

// splitmix64: small, fast and the same on every platform (unlike <random> distributions).
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Gaussian() {  // Box-Muller
        double u = Uniform(), v = Uniform();
        return std::sqrt(-2.0 * std::log(u > 0 ? u : 1e-300)) * std::cos(2 * kPi * v);
    }

private:
    uint64_t state_;
};

// The folding of the white surface: a radius factor around 1 by direction.
struct Folding {
    double phase[4];
    int freq[4];
    double Factor(double theta, double phi) const {
        return 1 + 0.06 * std::sin(freq[0] * theta + phase[0]) * std::sin(freq[1] * phi + phase[1]) +
               0.03 * std::sin(freq[2] * theta + phase[2]) * std::cos(freq[3] * phi + phase[3]);
    }
};

struct Body {
    double cx, cy, cz;  // centre
    double rx, ry, rz;  // semi-axes of the white body
    double rmean;
    Folding folding;
    // Approximate signed distance in voxels from the white surface (negative inside).
    double Distance(double x, double y, double z) const {
        double qx = (x - cx) / rx, qy = (y - cy) / ry, qz = (z - cz) / rz;
        double q = std::sqrt(qx * qx + qy * qy + qz * qz);
        double theta = std::atan2(qy, qx), phi = q > 0 ? std::acos(std::clamp(qz / q, -1.0, 1.0)) : 0;
        return (q - folding.Factor(theta, phi)) * rmean;
    }
};

uint8_t TissueAtDistance(double d) {
    if (d < 0) return White;
    if (d < kGrayThickness) return Gray;
    if (d < kGrayThickness + kCsfThickness) return Csf;
    return Unknown;
}

// Non-white tissue of a tunnel or pocket wall: gray lining, CSF core.
uint8_t HoleTissue(double distanceFromWall) { return distanceFromWall < 2.0 ? Gray : Csf; }

}  // namespace

std::string CheckPhantomOptions(const PhantomOptions& o) {
    if (o.size < kMinPhantomSize || o.size > kMaxPhantomSize)
        return "size must lie in " + std::to_string(kMinPhantomSize) + ".." +
               std::to_string(kMaxPhantomSize);
    if (o.handles < 0 || o.handles > kMaxPhantomHandles)
        return "handles must lie in 0.." + std::to_string(kMaxPhantomHandles);
    if (!(o.noise >= 0 && o.noise <= 100)) return "noise must lie in 0..100";
    return {};
}

Phantom MakePhantom(const PhantomOptions& o) {
    const int n = o.size;
    Phantom p;
    p.dims = {n, n, n};
    p.labels.assign(p.dims.voxels(), Unknown);
    p.anatomy.assign(p.dims.voxels(), 0);

    Random random(o.seed);
    Body body;
    body.cx = body.cy = body.cz = (n - 1) / 2.0;
    body.rx = 0.30 * n, body.ry = 0.34 * n, body.rz = 0.27 * n;
    body.rmean = (body.rx + body.ry + body.rz) / 3;
    for (int i = 0; i < 4; ++i) {
        body.folding.phase[i] = 2 * kPi * random.Uniform();
        body.folding.freq[i] = (i < 2 ? 5 : 9) + int(random.Next() % 3);
    }

    // Tunnels along z, side by side in x, each cutting the body once.
    const double tunnelRadius = std::max(2.5, 0.035 * n);
    const double spacing = 0.12 * n;
    std::vector<double> tunnelX;
    for (int i = 0; i < o.handles; ++i)
        tunnelX.push_back(body.cx + (i - (o.handles - 1) / 2.0) * spacing);
    const double tunnelY = body.cy;

    // The cavity sits in solid white off the tunnels' plane; the satellite in a corner.
    const double cavityRadius = std::max(2.5, 0.03 * n);
    const double cavityX = body.cx, cavityY = body.cy + 0.16 * n, cavityZ = body.cz;
    const double satRadius = std::max(2.5, 0.04 * n);
    const double satX = body.cx + 0.36 * n, satY = body.cy + 0.36 * n, satZ = body.cz;

    for (int z = 0; z < n; ++z)
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                uint8_t tissue = TissueAtDistance(body.Distance(x, y, z));
                if (tissue == White) {
                    for (double tx : tunnelX) {
                        double r = std::hypot(x - tx, y - tunnelY);
                        if (r < tunnelRadius) tissue = HoleTissue(tunnelRadius - r);
                    }
                    if (o.cavity) {
                        double r = std::sqrt((x - cavityX) * (x - cavityX) +
                                             (y - cavityY) * (y - cavityY) +
                                             (z - cavityZ) * (z - cavityZ));
                        if (r < cavityRadius) tissue = Csf;
                    }
                }
                if (o.satellite && tissue != White) {
                    double r = std::sqrt((x - satX) * (x - satX) + (y - satY) * (y - satY) +
                                         (z - satZ) * (z - satZ));
                    if (r < satRadius) tissue = White;
                    else if (r < satRadius + kGrayThickness && tissue == Unknown) tissue = Gray;
                }
                p.labels[p.dims.index(x, y, z)] = tissue;
            }

    for (size_t i = 0; i < p.labels.size(); ++i) {
        double mean = o.background;
        switch (p.labels[i]) {
            case White: mean = o.white; break;
            case Gray: mean = o.gray; break;
            case Csf: mean = o.csf; break;
            default: break;
        }
        double v = mean + o.noise * random.Gaussian();
        p.anatomy[i] = uint8_t(std::clamp(std::lround(v), 0L, 255L));
    }
    return p;
}

}  // namespace sulcan
