#!/usr/bin/env python3
"""Peer of ReplaceLabels: the same whole-volume relabelling with numpy on the same labels.

Reads a classification file (17 header lines, then the label bytes) and prints one JSON line
with the best time of a select/deselect pass, as the C++ benchmark does it.
"""
import json
import sys
import time

import numpy as np


def read_labels(path):
    with open(path, "rb") as f:
        header = [f.readline() for _ in range(17)]
        data = np.frombuffer(f.read(), dtype=np.uint8).copy()
    size = {}
    for line in header:
        key, _, value = line.decode().strip().partition("=")
        size[key] = value
    n = int(size["xsize"]) * int(size["ysize"]) * int(size["zsize"])
    return data[:n]


def main():
    labels = read_labels(sys.argv[1])
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    best = float("inf")
    select = True
    for _ in range(repeats):
        match, new = (0x10, 0x90) if select else (0x90, 0x10)
        start = time.perf_counter()
        hit = labels == match
        changed = bool(hit.any())
        labels[hit] = new
        best = min(best, time.perf_counter() - start)
        select = not select
    print(json.dumps({"name": "numpy_replace_labels", "seconds": best, "voxels": int(labels.size),
                      "changed": changed}))


if __name__ == "__main__":
    main()
