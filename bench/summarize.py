#!/usr/bin/env python3
"""Turns the raw timings of bench/run into its tables.

summarize.py table|sweep DIR reads DIR/raw (ops.tsv, one hyperfine export
per pair and round, memory.tsv, machine.tsv), prints the table and writes
it to DIR as results.md and results.json (table) or sweep.md and
sweep.json (sweep), with ratios.dat for the chart.
"""
import glob
import json
import os
import statistics
import sys

MEMORY_LIMIT_KIB = 8 * 1024


def read_tsv(path):
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def times(raw, key):
    """All timed runs of a pair: {'ours': [...], 'peer': [...]} in seconds."""
    got = {"ours": [], "peer": []}
    for path in sorted(glob.glob(os.path.join(raw, glob.escape(key) + ".*.json"))):
        with open(path) as f:
            for result in json.load(f)["results"]:
                got[result["command"]].extend(result["times"])
    return got


def pairs(raw):
    rows = []
    for key, label, target, ours, peer in read_tsv(os.path.join(raw, "ops.tsv")):
        row = {"key": key, "operation": label, "target": float(target),
               "ours_command": ours, "peer_command": peer}
        t = times(raw, key) if ours else {"ours": [], "peer": []}
        if t["ours"] and t["peer"]:
            row["ours_s"] = statistics.median(t["ours"])
            row["peer_s"] = statistics.median(t["peer"])
            row["ratio"] = row["ours_s"] / row["peer_s"]
            row["met"] = row["ratio"] <= row["target"]
            row["runs"] = len(t["ours"])
            row["ours_times"] = t["ours"]
            row["peer_times"] = t["peer"]
        else:
            row["skipped"] = "not built"
        rows.append(row)
    return rows


def memory(raw):
    return [{"program": name, "peak_kib": int(kib), "command": cmd,
             "met": int(kib) <= MEMORY_LIMIT_KIB}
            for name, kib, cmd in read_tsv(os.path.join(raw, "memory.tsv"))]


def machine(raw):
    return {k: v for k, v in read_tsv(os.path.join(raw, "machine.tsv"))}


def markdown(header, lines):
    out = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    out += ["| " + " | ".join(cells) + " |" for cells in lines]
    return "\n".join(out) + "\n"


def seconds(s):
    return f"{s:.3f} s"


def mib(kib):
    return f"{kib / 1024:.1f} MiB"


def table(out, raw):
    rows, mem, mach = pairs(raw), memory(raw), machine(raw)
    lines = []
    for r in rows:
        if "skipped" in r:
            lines.append([r["operation"], "", "", "", f"≤ {r['target']}", "skipped: not built"])
        else:
            lines.append([r["operation"], seconds(r["ours_s"]), seconds(r["peer_s"]),
                          f"{r['ratio']:.2f}", f"≤ {r['target']}", "yes" if r["met"] else "NO"])
    for m in mem:
        lines.append([f"peak memory {m['program']}", mib(m["peak_kib"]), "", "", "≤ 8 MiB",
                      "yes" if m["met"] else "NO"])
    text = markdown(["operation", "ours", "peer", "ratio", "target", "met"], lines)
    runs = max([r.get("runs", 0) for r in rows] or [0])
    note = (f"Medians of {runs} alternating runs each; load average "
            f"{mach.get('load_start', '?')} at the start, {mach.get('load_end', '?')} at the end "
            f"({mach.get('cpus', '?')} CPUs).\n")
    sys.stdout.write(text + "\n" + note)
    with open(os.path.join(out, "results.md"), "w") as f:
        f.write(text + "\n" + note)
    with open(os.path.join(out, "results.json"), "w") as f:
        json.dump({"machine": mach, "pairs": rows, "memory": mem}, f, indent=2)
    with open(os.path.join(out, "ratios.dat"), "w") as f:
        for r in rows:
            if "ratio" in r:
                f.write(f"\"{r['operation']}\" {r['ratio']:.4f} {r['target']}\n")


def sweep(out, raw):
    rows, mem, mach = pairs(raw), memory(raw), machine(raw)
    peaks = {m["program"]: m["peak_kib"] for m in mem}
    lines = []
    for r in rows:
        base, size = r["key"].split("@")
        unit = "1,000 files" if base == "foreach" else "GiB"
        per = int(size) / 1000 if base == "foreach" else int(size) / 1024
        size_text = f"{size} files" if base == "foreach" else f"{size} MiB"
        program = "qv" + base
        if "skipped" in r:
            lines.append([r["operation"], size_text, "", "", "", "", "", "skipped: not built"])
            continue
        r["ours_per_unit_s"] = r["ours_s"] / per
        r["peer_per_unit_s"] = r["peer_s"] / per
        lines.append([r["operation"], size_text, seconds(r["ours_s"]),
                      f"{r['ours_per_unit_s']:.3f} s per {unit}", seconds(r["peer_s"]),
                      f"{r['peer_per_unit_s']:.3f} s per {unit}", f"{r['ratio']:.2f}",
                      mib(peaks[program + "@" + size]) if program + "@" + size in peaks else ""])
    text = markdown(["operation", "size", "ours", "ours per unit", "peer", "peer per unit",
                     "ratio", "peak memory (ours)"], lines)
    runs = max([r.get("runs", 0) for r in rows] or [0])
    note = (f"Medians of {runs} alternating runs each; load average "
            f"{mach.get('load_start', '?')} at the start, {mach.get('load_end', '?')} at the end "
            f"({mach.get('cpus', '?')} CPUs).\n")
    sys.stdout.write(text + "\n" + note)
    with open(os.path.join(out, "sweep.md"), "w") as f:
        f.write(text + "\n" + note)
    with open(os.path.join(out, "sweep.json"), "w") as f:
        json.dump({"machine": mach, "pairs": rows, "memory": mem}, f, indent=2)


def main():
    mode, out = sys.argv[1], sys.argv[2]
    raw = os.path.join(out, "raw")
    {"table": table, "sweep": sweep}[mode](out, raw)


if __name__ == "__main__":
    main()
