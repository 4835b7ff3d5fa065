#!/usr/bin/env python3
"""Writes docs/performance.md from one run of the benchmarks.

Usage: report.py OUTPUT BENCH_JSON... --repetitions N --module-so FILE --module-dll FILE
                 --strip TOOL --strip-dll TOOL --compiler TEXT --cross-compiler TEXT
                 --load-before TEXT --findings FILE

Every ratio is module time over alternative time, both medians of the same
run, so the noise of a busy machine mostly cancels.
"""

import argparse
import datetime
import json
import os
import shutil
import subprocess
import tempfile

# (operation, benchmark, alternative, its benchmark, most the ratio may be)
ROWS = [
    ("`Normalize(false, 0)`", "Normalize/hps", "Eigen `normalize()`", "Normalize/eigen_normalize", 1.0),
    ("`Normalize(false, 0)`", "Normalize/hps", "Eigen `stableNormalize()`", "Normalize/eigen_stableNormalize", 0.6),
    ("`Normalize(false, 0)`", "Normalize/hps", "glm `normalize`", "Normalize/glm_normalize", None),
    ("`Normalize(true, 0)`", "Normalize/hps_prescale", "Eigen `normalize()`", "Normalize/eigen_normalize", 1.0),
    ("`Normalize(true, 0)`", "Normalize/hps_prescale", "Eigen `stableNormalize()`",
     "Normalize/eigen_stableNormalize", 0.6),
    ("`Normalize(true, 0)`", "Normalize/hps_prescale", "glm `normalize`", "Normalize/glm_normalize", None),
    ("`Dot`", "Dot/hps", "Eigen `dot()`", "Dot/eigen", None),
    ("`Dot`", "Dot/hps", "glm `dot`", "Dot/glm", None),
    ("`Length` (double)", "Length/hps", "Eigen `norm()` (float)", "Length/eigen_norm", None),
    ("`Length` (double)", "Length/hps", "glm `length` (float)", "Length/glm_length", None),
    ("`canImport`", "canImport/module", "`std::filesystem::path::extension`, `towlower`, compare",
     "canImport/filesystem", 1 / 3),
    ("`defaultPreferences`", "defaultPreferences", None, None, None),
    ("`loadPreferences`, in-memory store", "loadPreferences/memory", None, None, None),
    ("`loadPreferences`, INI store", "loadPreferences/ini", None, None, None),
    ("`savePreferences`, in-memory store", "savePreferences/memory", None, None, None),
    ("`savePreferences`, INI store", "savePreferences/ini", None, None, None),
    ("`createPlugin` + `destroyPlugin`", "createPlugin+destroyPlugin", None, None, None),
    ("load + unload the module", "load+unload/importer", "load + unload the empty module",
     "load+unload/empty", None),
    ("load, create, default set, save, load set, destroy, unload", "cycle/importer",
     "load + unload the empty module", "load+unload/empty", 2.0),
]

DLL_LIMIT = 150 * 1024
# What resident memory may grow by over the soak's 10,000 cycles: the
# allocator's and the loader's own bookkeeping, which a leak of 26 bytes a
# cycle would pass.
GROWTH_LIMIT_KIB = 256

WHAT_IS_MEASURED = """\
- Geometry: a million vectors (80% with magnitudes 1e-3 to 1e3, 10% tiny,
  1e-30 to 1e-15, 10% huge, 1e15 to 1e30), each read from one array and its
  result written to another. The module's operations are called through its
  exports, as a client links them; Eigen and glm inline theirs.
- `canImport`: a million paths in user, project and network folders, with
  dots in folder names, CAD extensions in either case, other extensions and
  none; both answers are checked to agree before timing.
- Option sets: the importer loaded as a host loads it; the INI store is
  opened on a file holding all twelve options, and neither store is flushed.
- Loading: `orv::PluginLibrary`, the SDK's loader, on the importer and on a
  module of the same build that holds only the two entry points; each run
  checks that a module really goes when unloaded. The cycle keeps one
  in-memory store, as a host keeps its settings.
"""


def load_medians(files):
    medians, context = {}, None
    growth = None
    for name in files:
        with open(name) as f:
            data = json.load(f)
        context = context or data["context"]
        for b in data["benchmarks"]:
            if b.get("aggregate_name") == "median":
                medians[b["run_name"]] = 1.0 / b["items_per_second"]
                growth = b.get("resident_growth_KiB", growth)
    return medians, context, growth


def seconds(value):
    for unit, scale in (("s", 1), ("ms", 1e3), ("µs", 1e6), ("ns", 1e9)):
        if value * scale >= 1 or unit == "ns":
            return f"{value * scale:.3g} {unit}"


def kib(size):
    return f"{size / 1024:.1f} KiB ({size:,} bytes)"


def stripped_size(tool, path):
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, os.path.basename(path))
        shutil.copy(path, copy)
        subprocess.run([tool, "--strip-unneeded", copy], check=True)
        return os.path.getsize(copy)


def caches(context):
    seen = {}
    for cache in context.get("caches", []):
        seen.setdefault((cache["level"], cache["type"]), cache["size"] // 1024)
    return ", ".join(f"L{level} {kind.lower()} {size} KiB" for (level, kind), size in seen.items())


def cpu_model():
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return "unknown"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("results", nargs="+")
    for option in ("repetitions", "module-so", "module-dll", "strip", "strip-dll", "compiler", "cross-compiler",
                   "load-before", "findings"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()

    medians, context, growth = load_medians(args.results)
    missed = []
    lines = [
        "# Performance",
        "",
        "What a host pays for the module, beside what a user would pick instead. Made by",
        "`scripts/bench` from one run; every figure is the median of the run's",
        f"{args.repetitions} interleaved repetitions, and every ratio (module time over",
        "alternative time: below 1, the module is faster) comes from that same run.",
        "",
        "| operation | time per operation | alternative | its time | ratio | target |",
        "|---|---|---|---|---|---|",
    ]
    for operation, bench, alternative, alternative_bench, bound in ROWS:
        time = medians[bench]
        if alternative is None:
            lines.append(f"| {operation} | {seconds(time)} | | | | |")
            continue
        other = medians[alternative_bench]
        ratio = time / other
        target = ""
        if bound is not None:
            met = ratio <= bound
            target = f"≤ {bound:.2f}: {'met' if met else '**missed**'}"
            if not met:
                missed.append(f"{operation} against {alternative}: {ratio:.2f}, target ≤ {bound:.2f}")
        lines.append(f"| {operation} | {seconds(time)} | {alternative} | {seconds(other)} | {ratio:.2f} | {target} |")

    sizes = [
        ("`solidworksimporter.dll` (windows preset, RelWithDebInfo)", args.module_dll, args.strip_dll),
        ("`solidworksimporter.so` (bench preset, Release)", args.module_so, args.strip),
    ]
    lines += ["", "## Module size", "", "| module | as built | stripped |", "|---|---|---|"]
    for label, path, tool in sizes:
        lines.append(f"| {label} | {kib(os.path.getsize(path))} | {kib(stripped_size(tool, path))} |")
    dll = stripped_size(args.strip_dll, args.module_dll)
    dll_met = dll < DLL_LIMIT
    if not dll_met:
        missed.append(f"stripped DLL {kib(dll)}, target under 150 KiB")
    growth_met = growth is not None and growth <= GROWTH_LIMIT_KIB
    if not growth_met:
        missed.append(f"resident memory grew by {growth} KiB over 10,000 cycles, target at most {GROWTH_LIMIT_KIB} KiB")
    lines += [
        "",
        f"Target: the DLL as shipped (stripped) under 150 KiB: {'met' if dll_met else '**missed**'}.",
        "",
        "## Memory over a long run",
        "",
        "`soak/importer`: 10,000 cycles of loading the module, making the importer, loading",
        "its set from an in-memory store and saving it back with a change, destroying the",
        "importer and unloading the module, after 100 such cycles (what the process keeps",
        f"anyway). Resident memory grew by {growth:g} KiB (median of the repetitions);" if growth is not None
        else "The soak did not run.",
        f"target: at most {GROWTH_LIMIT_KIB} KiB: {'met' if growth_met else '**missed**'}.",
        "",
        "## Machine",
        "",
        f"- CPU: {cpu_model()}, {os.cpu_count()} cores (caches: {caches(context)})",
        f"- Compilers: {args.compiler}; for the DLL {args.cross_compiler}",
        f"- Google Benchmark as Debian ships it (it calls itself a "
        f"{context.get('library_build_type', '')} build), run {datetime.datetime.now(datetime.timezone.utc).strftime('%Y-%m-%d %H:%M UTC')}",
        f"- Load average before the run {args.load_before}, after it "
        f"{', '.join(f'{x:.2f}' for x in os.getloadavg())}",
        "",
        "## What is measured",
        "",
        WHAT_IS_MEASURED,
        "## Targets missed in this run",
        "",
    ]
    lines += [f"- {m}" for m in missed] or ["None."]
    with open(args.findings) as f:
        lines += ["", f.read().rstrip()]
    with open(args.output, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines[:len(ROWS) + 9]))
    if missed:
        print("missed:", *missed, sep="\n  ")


if __name__ == "__main__":
    main()
