#!/usr/bin/env python3
"""Prints the benchmark table: each operation's time per voxel next to its peers."""
import json
import sys

# operation benchmark -> the peers it is compared with (C++ baselines and Python peers)
PAIRS = {
    "BM_ReplaceLabels": ["BM_PlainPass", "numpy_replace_labels"],
    "BM_ReadAnatomy": ["BM_RawRead"],
    "BM_WriteAnatomy": ["BM_RawWrite"],
    "BM_ReadClassification": ["BM_RawRead"],
    "BM_WriteClassification": ["BM_RawWrite"],
    "BM_SelectConnectedWhite": ["scipy_label_white"],
}
VOXELS = 256 ** 3


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

    print(f"{'operation':<24}{'time':>12}{'ns/voxel':>10}   {'peer':<24}{'time':>12}{'ratio':>8}")
    for op, peers in PAIRS.items():
        if op not in seconds:
            continue
        t = seconds[op]
        for peer in peers:
            if peer not in seconds:
                continue
            p = seconds[peer]
            print(f"{op:<24}{t * 1e3:>10.2f}ms{t / VOXELS * 1e9:>10.3f}   "
                  f"{peer:<24}{p * 1e3:>10.2f}ms{t / p:>8.2f}")


if __name__ == "__main__":
    main()
