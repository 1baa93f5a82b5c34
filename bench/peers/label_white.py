#!/usr/bin/env python3
"""Peer of SelectConnectedWhite: 26-connected component labelling of the white matter.

Reads a classification file (17 header lines, then the label bytes), builds the binary white
volume (tissue bits 0x70 == 0x10) and prints one JSON line with the best time of
scipy.ndimage.label with a 3x3x3 structure.
"""
import json
import sys
import time

import numpy as np
from scipy import ndimage


def read_labels(path):
    with open(path, "rb") as f:
        header = [f.readline() for _ in range(17)]
        data = np.frombuffer(f.read(), dtype=np.uint8)
    size = {}
    for line in header:
        key, _, value = line.decode().strip().partition("=")
        size[key] = value
    shape = (int(size["zsize"]), int(size["ysize"]), int(size["xsize"]))
    return data[: shape[0] * shape[1] * shape[2]].reshape(shape)


def main():
    labels = read_labels(sys.argv[1])
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    white = (labels & 0x70) == 0x10
    structure = np.ones((3, 3, 3), dtype=bool)
    best = float("inf")
    components = 0
    for _ in range(repeats):
        start = time.perf_counter()
        _, components = ndimage.label(white, structure=structure)
        best = min(best, time.perf_counter() - start)
    print(json.dumps({"name": "scipy_label_white", "seconds": best, "voxels": int(white.size),
                      "white": int(white.sum()), "components": int(components)}))


if __name__ == "__main__":
    main()
