#!/usr/bin/env python3
"""Prints the benchmark table: each operation's time per voxel next to its peers."""
import json
import sys

VOXELS = 256 ** 3

# operation benchmark -> (the peers it is compared with, the items it processes)
PAIRS = {
    "BM_ReplaceLabels": (["BM_PlainPass", "numpy_replace_labels"], VOXELS),
    "BM_ReadAnatomy": (["BM_RawRead"], VOXELS),
    "BM_WriteAnatomy": (["BM_RawWrite"], VOXELS),
    "BM_ReadClassification": (["BM_RawRead"], VOXELS),
    "BM_WriteClassification": (["BM_RawWrite"], VOXELS),
    "BM_SelectConnectedWhite": (["scipy_label_white"], VOXELS),
    "BM_WriteGray": (["BM_RawWriteGrayBytes"], VOXELS),
    "BM_ReadGray": (["BM_RawReadGrayBytes"], VOXELS),
}
# slice pictures: orientation 0..2 at 256 and 1023 pixels square, against a copy of as many bytes
for size in (256, 1023):
    for orientation in (0, 1, 2):
        PAIRS[f"BM_SlicePicture/orientation:{orientation}/size:{size}"] = (
            [f"BM_SliceCopy/size:{size}"], size * size)
# classification of the whole VOI, 1 thread and all cores (0), both conductances, against one
# read and write of six float volumes per voxel
for threads in (1, 0):
    for slow in (0, 1):
        PAIRS[f"BM_ClassifyApply/threads:{threads}/slow:{slow}/iterations:1/real_time"] = (
            ["BM_ClassifyTrafficFloor"], VOXELS)


def main():
    with open(sys.argv[1]) as f:
        runs = json.load(f)["benchmarks"]
    seconds = {}
    for r in runs:
        if r.get("aggregate_name") not in (None, "median"):
            continue
        name = r.get("run_name", r["name"])
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[r["time_unit"]]
        seconds[name] = r["real_time"] * scale
    with open(sys.argv[2]) as f:
        for line in f:
            if line.strip():
                peer = json.loads(line)
                seconds[peer["name"]] = peer["seconds"]

    print(f"{'operation':<42}{'time':>12}{'ns/item':>10}   {'peer':<24}{'time':>12}{'ratio':>8}")
    for op, (peers, items) in PAIRS.items():
        if op not in seconds:
            continue
        t = seconds[op]
        for peer in peers:
            if peer not in seconds:
                continue
            p = seconds[peer]
            print(f"{op:<42}{t * 1e3:>10.3f}ms{t / items * 1e9:>10.3f}   "
                  f"{peer:<24}{p * 1e3:>10.3f}ms{t / p:>8.2f}")


if __name__ == "__main__":
    main()
