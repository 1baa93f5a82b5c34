#include "tests/support/topology_count.h"

#include <array>
#include <cstdlib>

namespace sulcan::testing {

namespace {

// Labels connected components of voxels for which `member` holds; returns their number and,
// through touchesBorder, which of them reach the volume's faces.
int Components(const VolumeDims& d, const std::vector<char>& member, bool full26,
               std::vector<bool>* touchesBorder) {
    std::vector<int> label(d.voxels(), 0);
    std::vector<size_t> stack;
    int count = 0;
    for (size_t start = 0; start < d.voxels(); ++start) {
        if (!member[start] || label[start]) continue;
        ++count;
        bool border = false;
        label[start] = count;
        stack.push_back(start);
        while (!stack.empty()) {
            size_t i = stack.back();
            stack.pop_back();
            int x = int(i % d.x), y = int(i / d.x % d.y), z = int(i / d.planeStride());
            if (x == 0 || y == 0 || z == 0 || x == d.x - 1 || y == d.y - 1 || z == d.z - 1)
                border = true;
            for (int dz = -1; dz <= 1; ++dz)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int manhattan = std::abs(dx) + std::abs(dy) + std::abs(dz);
                        if (manhattan == 0 || (!full26 && manhattan != 1)) continue;
                        if (!d.contains(x + dx, y + dy, z + dz)) continue;
                        size_t j = d.index(x + dx, y + dy, z + dz);
                        if (member[j] && !label[j]) {
                            label[j] = count;
                            stack.push_back(j);
                        }
                    }
        }
        if (touchesBorder) touchesBorder->push_back(border);
    }
    return count;
}

}  // namespace

TopologyCount CountTopology(const std::vector<uint8_t>& labels, const VolumeDims& d,
                            const std::function<bool(uint8_t)>& isObject) {
    std::vector<char> object(d.voxels()), background(d.voxels());
    for (size_t i = 0; i < d.voxels(); ++i) {
        object[i] = isObject(labels[i]);
        background[i] = !object[i];
    }
    TopologyCount t;
    t.components = Components(d, object, true, nullptr);
    std::vector<bool> border;
    int pockets = Components(d, background, false, &border);
    for (int k = 0; k < pockets; ++k) t.cavities += border[k] ? 0 : 1;

    // Euler characteristic V - E + F - C of the cubical complex, counting each cell once:
    // a cell at grid point g of kind k belongs to the complex when any voxel sharing it is
    // object. Grid points run 0..size on each axis.
    auto obj = [&](int x, int y, int z) {
        return d.contains(x, y, z) && object[d.index(x, y, z)];
    };
    long v = 0, e = 0, f = 0, c = 0;
    for (int z = 0; z <= d.z; ++z)
        for (int y = 0; y <= d.y; ++y)
            for (int x = 0; x <= d.x; ++x) {
                // voxels around vertex (x,y,z) have coordinates x-1..x etc.
                bool any = false;
                for (int k = 0; k < 8 && !any; ++k)
                    any = obj(x - (k & 1), y - ((k >> 1) & 1), z - ((k >> 2) & 1));
                v += any;
                // edge along x from (x,y,z) to (x+1,y,z): voxels x, y-1..y, z-1..z
                if (x < d.x) {
                    bool a = obj(x, y, z) || obj(x, y - 1, z) || obj(x, y, z - 1) ||
                             obj(x, y - 1, z - 1);
                    e += a;
                }
                if (y < d.y) {
                    bool a = obj(x, y, z) || obj(x - 1, y, z) || obj(x, y, z - 1) ||
                             obj(x - 1, y, z - 1);
                    e += a;
                }
                if (z < d.z) {
                    bool a = obj(x, y, z) || obj(x - 1, y, z) || obj(x, y - 1, z) ||
                             obj(x - 1, y - 1, z);
                    e += a;
                }
                // faces normal to x, y, z at this grid point
                if (y < d.y && z < d.z) f += obj(x, y, z) || obj(x - 1, y, z);
                if (x < d.x && z < d.z) f += obj(x, y, z) || obj(x, y - 1, z);
                if (x < d.x && y < d.y) f += obj(x, y, z) || obj(x, y, z - 1);
                if (x < d.x && y < d.y && z < d.z) c += obj(x, y, z);
            }
    t.euler = v - e + f - c;
    return t;
}

}  // namespace sulcan::testing
