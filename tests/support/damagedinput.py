#!/usr/bin/env python3
"""Runs varnel-cli commands on damaged copies of sample files and reports what went wrong.

Run it on a sanitizer build (slow; not part of ctest):
    scripts/build asan varnel-cli
    python3 tests/support/damagedinput.py --cli build/asan/src/cli/varnel-cli [--limit N]

For every sample file (the corpus folder, the NSIS stubs and a sample of Wine's modules when they
are installed) it makes damaged variants: truncated copies, bytes flipped at seeded random places,
plausible size fields set to 0 / 0xFFFFFFFF / negative, a count field doubled, and the file
appended to itself. The commands that take many files (list, info, resources, import, export,
sheet, library) run once on the variants of a whole folder, and again on each variant alone when
that run shows a fault; thumbnail, frames and update run on a few variants of each file. Every
run has a time limit of 10 s a file. Reported as faults: crashes and
sanitizer reports, time-outs, peak memory above 2 GiB, status 0 with an error message, a failure
status without one, and outputs that varnel-cli list cannot read back. The run is deterministic
(--seed); variants that show a fault are kept in --keep.
"""

import argparse
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib
from dataclasses import dataclass, field
from pathlib import Path

CORPUS = Path(os.environ.get("VARNEL_CORPUS", "/work/shared/corpus"))
NSIS_STUBS = Path("/usr/share/nsis/Stubs")
WINE_MODULES = Path("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
MODULE_SAMPLE = 6
MODULE_MOST_BYTES = 600_000
TIME_LIMIT = 10.0
MEMORY_LIMIT = 2 << 30
HEADER_BYTES = 512
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "SUMMARY: UndefinedBehaviorSanitizer", "AddressSanitizer:DEADLYSIGNAL")
ANIMATED = {".ani", ".gif"}
ICON_KINDS = {".ico", ".cur", ".icns", ".ani", ".png", ".bmp"}
MODULE_KINDS = {".dll", ".exe", ".icl", ".res", ""}  # the NSIS stubs have no extension


@dataclass
class Variant:
    source: Path
    name: str  # "truncate-22", "flip-3", ...
    data: bytes


@dataclass
class Run:
    args: list
    status: int = 0
    stderr: str = ""
    seconds: float = 0.0
    peak_bytes: int = 0
    timed_out: bool = False


@dataclass
class Fault:
    kind: str
    variant: Variant
    run: Run
    detail: str = ""


@dataclass
class Tally:
    variants: int = 0
    runs: int = 0
    faults: list = field(default_factory=list)
    seen: set = field(default_factory=set)


# ---------------------------------------------------------------------------------------------
# Inputs and their damaged variants


def sample_files(with_modules):
    files = sorted(p for p in CORPUS.rglob("*") if p.is_file() and p.name != "README.md")
    if with_modules and NSIS_STUBS.is_dir():
        files += sorted(p for p in NSIS_STUBS.iterdir() if p.is_file())
    if with_modules and WINE_MODULES.is_dir():
        modules = sorted(p for p in WINE_MODULES.glob("*.dll")
                         if p.stat().st_size <= MODULE_MOST_BYTES)
        files += random.Random(7).sample(modules, min(MODULE_SAMPLE, len(modules)))
    return files


def truncations(data):
    points = {1, 4, 6, 8, 14, 16, 22, 32, 40, 54, 64, 128, len(data) // 4, len(data) // 2,
              len(data) * 3 // 4, len(data) - 1}
    return [(f"truncate-{n}", data[:n]) for n in sorted(points) if 0 < n < len(data)]


def flips(data, rng, count):
    out = []
    for i in range(count):
        damaged = bytearray(data)
        span = min(len(data), HEADER_BYTES) if i % 2 == 0 else len(data)
        for _ in range(1 << (i % 4) * 2):  # 1, 4, 16 or 64 bytes
            damaged[rng.randrange(span)] ^= rng.randrange(1, 256)
        out.append((f"flip-{i}", bytes(damaged)))
    return out


def word_fields(data, width, low, high):
    """Offsets and byte orders of header words whose value lies in [low, high]."""
    found = []
    for offset in range(0, min(len(data), HEADER_BYTES) - width + 1, 2):
        for order in "<>":
            value = struct.unpack_from(order + ("I" if width == 4 else "H"), data, offset)[0]
            if low <= value <= high:
                found.append((offset, order))
    return found


def size_fields(data, rng, count):
    out = []
    fields = word_fields(data, 4, 1, max(64, len(data) * 4))
    for offset, order in rng.sample(fields, min(count, len(fields))):
        for label, value in (("0", 0), ("ffffffff", 0xFFFFFFFF), ("negative", 0x80000010)):
            damaged = bytearray(data)
            struct.pack_into(order + "I", damaged, offset, value)
            out.append((f"size{order}{offset}-{label}", bytes(damaged)))
    return out


def doubled_counts(data, rng, count):
    out = []
    fields = word_fields(data, 2, 1, 255)
    for offset, order in rng.sample(fields, min(count, len(fields))):
        damaged = bytearray(data)
        value = struct.unpack_from(order + "H", data, offset)[0]
        struct.pack_into(order + "H", damaged, offset, value * 2)
        out.append((f"count{order}{offset}-doubled", bytes(damaged)))
    return out


def variants_of(path, seed, per_file):
    data = path.read_bytes()
    if not data:
        return []
    rng = random.Random(seed ^ zlib.crc32(path.name.encode()))
    made = truncations(data) + flips(data, rng, 8) + size_fields(data, rng, 4)
    made += doubled_counts(data, rng, 3) + [("appended", data + data)]
    if per_file and len(made) > per_file:
        made = rng.sample(made, per_file)
    return [Variant(path, name, damaged) for name, damaged in made]


# ---------------------------------------------------------------------------------------------
# Running varnel-cli


def sanitizer_environment():
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = "detect_leaks=1:allocator_may_return_null=1"
    env["UBSAN_OPTIONS"] = "halt_on_error=1:print_stacktrace=1"
    env["QT_QPA_PLATFORM"] = "offscreen"
    return env


def run_cli(cli, args, work, env, time_limit):
    """Runs varnel-cli in its own process group; a time-out kills the group."""
    err_path = work / "stderr.txt"
    with open(err_path, "wb") as err, open(os.devnull, "wb") as out:
        started = time.monotonic()
        process = subprocess.Popen([str(cli)] + args, stdout=out, stderr=err, cwd=work, env=env,
                                   start_new_session=True)
        run = Run(args)
        timer = threading.Timer(time_limit, lambda: kill_group(process.pid, run))
        timer.start()
        _, wait_status, usage = os.wait4(process.pid, 0)
        timer.cancel()
        process.returncode = os.waitstatus_to_exitcode(wait_status)
    run.status = process.returncode
    run.seconds = time.monotonic() - started
    run.peak_bytes = usage.ru_maxrss * 1024
    run.stderr = err_path.read_text(errors="replace")
    return run


def kill_group(pid, run):
    run.timed_out = True
    try:
        os.killpg(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def first_own_frame(stderr):
    """The first stack frame in the project's sources, to tell one fault from another."""
    for line in stderr.splitlines():
        match = re.search(r" in (.+?) (/\S*/src/\S+?):(\d+)", line)
        if match:
            return f"{match.group(1)[:80]} {Path(match.group(2)).name}:{match.group(3)}"
    match = re.search(r"(\S+\.(?:cpp|h):\d+):\d+: runtime error: (.*)", stderr)
    return f"{match.group(1)} {match.group(2)}" if match else ""


def judge(run):
    """The fault a run shows, or None."""
    stderr = run.stderr.strip()
    if run.timed_out:
        return "time-out", f"{run.args[0]} ran past its time limit"
    if any(mark in stderr for mark in SANITIZER_MARKS):
        return "sanitizer", first_own_frame(stderr) or stderr.splitlines()[0]
    if run.status < 0:
        return "crash", f"signal {-run.status} " + first_own_frame(stderr)
    if run.peak_bytes > MEMORY_LIMIT:
        return "memory", f"peak {run.peak_bytes >> 20} MiB"
    if run.status == 0 and "varnel-cli:" in stderr:
        return "error-with-success", stderr.splitlines()[-1][:160]
    if run.status != 0 and not stderr:
        return "silent-failure", f"status {run.status}"
    return None


# ---------------------------------------------------------------------------------------------
# The commands: those taking many files run once on all variants of a folder (and on each
# variant alone when that run shows a fault); the others run on a few variants of each file.


@dataclass
class Plan:
    args: list  # with FILES where the damaged files go
    outputs: list = field(default_factory=list)  # read back with list when the run succeeds
    copies: list = field(default_factory=list)  # (source, target) made before the run
    # False when an output is the damaged input itself, left as it was by a failed run.
    check_after_failure: bool = True


EXPORT_FORMATS = ["png", "bmp", "ico", "cur", "jpg", "gif", "xpm", "xbm", "icpr", "icns"]


def batch_plans(work, folder):
    """png and bmp for every folder, and two more export formats in turn."""
    turn = zlib.crc32(folder.name.encode()) % 4 * 2 + 2
    plans = [Plan(["list", "--json", "FILES"]), Plan(["info", "--json", "FILES"]),
             Plan(["resources", "--json", "FILES"])]
    for ext in (".icc", ".ico", ".icl"):
        plans.append(Plan(["import", "FILES", "-o", str(work / f"import{ext}"), "--quiet"],
                          [work / f"import{ext}"]))
    plans.append(Plan(["import", "FILES", "-o", str(work / "sized.icc"), "--sizes", "16,256",
                       "--quiet"], [work / "sized.icc"]))
    for fmt in EXPORT_FORMATS[:2] + EXPORT_FORMATS[turn:turn + 2]:
        out = work / f"export-{fmt}"
        plans.append(Plan(["export", "FILES", "-o", str(out), "--format", fmt, "--all-images"],
                          [out]))
    plans.append(Plan(["sheet", "FILES", "-o", str(work / "sheet.png")], [work / "sheet.png"]))
    plans.append(Plan(["library", "FILES", "-o", str(work / "library.icl")],
                      [work / "library.icl"]))
    return plans


def single_plans(source, damaged, work, module):
    suffix = source.suffix.lower()
    plans = [Plan(["thumbnail", str(damaged), "-o", str(work / "thumb.png")],
                  [work / "thumb.png"]),
             Plan(["thumbnail", str(damaged), "--size", "300x20", "--bpp", "4", "--enlarge", "-o",
                   str(work / "thumb4.png")], [work / "thumb4.png"])]
    if suffix in ANIMATED:
        plans.append(Plan(["frames", str(damaged), "-o", str(work / "frames")], [work / "frames"]))
    # update rewrites a module in place: a copy of a sound module takes a damaged icon, and a
    # copy of a damaged module takes a sound icon.
    if suffix in ICON_KINDS and module:
        target = work / "update-target.exe"
        plans.append(Plan(["update", str(target), "--from", str(damaged)], [target],
                          [(module, target)]))
    elif suffix in MODULE_KINDS:
        target = work / ("update-" + damaged.name)
        plans.append(Plan(["update", str(target), "--from", str(CORPUS / "ico" / "python.ico")],
                          [target], [(damaged, target)], check_after_failure=False))
    return plans


def clear(work):
    for entry in work.iterdir():
        if entry.is_dir():
            shutil.rmtree(entry)
        else:
            entry.unlink()


def variant_path(work, variant):
    return work / f"{variant.source.stem}-{variant.name}{variant.source.suffix}"


def write_variants(variants, work):
    clear(work)
    paths = []
    for variant in variants:
        path = variant_path(work, variant)
        path.write_bytes(variant.data)
        paths.append(path)
    return paths


def output_files(outputs):
    files = []
    for output in outputs:
        if output.is_dir():
            # frames.json and the .mask companions of XBM files are no icon files
            files += sorted(p for p in output.iterdir() if p.suffix not in (".json", ".mask"))
        elif output.exists():
            files.append(output)
    return files


class Runner:
    def __init__(self, cli, work, tally):
        self.cli, self.work, self.tally = cli, work, tally
        self.env = sanitizer_environment()

    def run(self, args, time_limit):
        self.tally.runs += 1
        return run_cli(self.cli, args, self.work, self.env, time_limit)

    def attempt(self, plan, variants):
        """Runs the plan on the variants; the faults it shows, with the run of each."""
        paths = write_variants(variants, self.work)
        for source, target in plan.copies:
            shutil.copyfile(source, target)
        args = sum(([str(p) for p in paths] if a == "FILES" else [a] for a in plan.args), [])
        run = self.run(args, TIME_LIMIT * len(variants))  # 10 s for each file
        verdict = judge(run)
        if verdict:
            return [(verdict, run, None)]
        # A failed file must not spoil the outputs of the others: they are read back too.
        if run.status != 0 and not plan.check_after_failure:
            return []
        outputs = output_files(plan.outputs)
        if not outputs:
            return []
        check = self.run(["list"] + [str(p) for p in outputs], TIME_LIMIT * len(variants))
        verdict = judge(check)
        if not verdict and check.status != 0:
            verdict = ("unreadable-output", f"{args[0]}: " + check.stderr.strip()[-200:])
        return [(verdict, check, outputs[0])] if verdict else []

    def try_plan(self, plan, variants):
        faults = self.attempt(plan, variants)
        if faults and len(variants) > 1:
            faults = []
            for variant in variants:
                faults += [(f, variant) for f in self.attempt(plan, [variant])]
        else:
            faults = [(f, variants[0]) for f in faults]
        found = []
        for (verdict, run, extra), variant in faults:
            found.append(record(self.tally, Fault(verdict[0], variant, run, verdict[1]), extra))
        return found


def record(tally, fault, keep_extra=None):
    key = (fault.kind, fault.run.args[0], fault.detail if fault.kind in
           ("sanitizer", "crash") else fault.variant.source.name)
    fault.new = key not in tally.seen
    tally.seen.add(key)
    fault.extra = keep_extra
    tally.faults.append(fault)
    return fault


def try_folder(runner, folder, sources, singles, module):
    """The commands taking many files run once on the variants of all the folder's files."""
    found = []
    everything = [variant for _, variants in sources for variant in variants]
    for plan in batch_plans(runner.work, folder):
        found += runner.try_plan(plan, everything)
    for source, variants in sources:
        for variant in variants[:singles]:
            damaged = variant_path(runner.work, variant)
            for plan in single_plans(source, damaged, runner.work, module):
                found += runner.try_plan(plan, [variant])
    return found


def keep_faults(faults, keep):
    for number, fault in enumerate(faults):
        folder = keep / f"{fault.variant.source.stem}-{fault.variant.name}"
        folder.mkdir(parents=True, exist_ok=True)
        (folder / fault.variant.source.name).write_bytes(fault.variant.data)
        (folder / f"{fault.run.args[0]}-{number}.stderr").write_text(
            " ".join(fault.run.args) + "\n" + fault.run.stderr)
        if fault.extra and Path(fault.extra).is_file():
            shutil.copyfile(fault.extra, folder / ("output-" + Path(fault.extra).name))


def print_fault(fault):
    marker = "NEW " if fault.new else "    "
    print(f"{marker}{fault.kind:18} {fault.run.args[0]:9} {fault.variant.source.name} "
          f"[{fault.variant.name}] {fault.detail}", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/asan/src/cli/varnel-cli")
    parser.add_argument("--seed", type=int, default=20261210)
    parser.add_argument("--limit", type=int, default=0, help="most variants in all (0: all)")
    parser.add_argument("--per-file", type=int, default=12, help="most variants of one file")
    parser.add_argument("--singles", type=int, default=2,
                        help="variants of each file given to thumbnail, frames and update")
    parser.add_argument("--only", default="", help="only sample files whose path has this text")
    parser.add_argument("--no-modules", action="store_true", help="only the corpus folder")
    parser.add_argument("--keep", default="damaged-faults", help="folder for faulty variants")
    parser.add_argument("--quiet", action="store_true", help="print new faults only")
    options = parser.parse_args()

    cli = Path(options.cli).resolve()
    if not cli.is_file():
        sys.exit(f"no varnel-cli at {cli}: build it with scripts/build asan varnel-cli")
    if not CORPUS.is_dir():
        sys.exit(f"no sample files at {CORPUS}")
    stubs = sorted(NSIS_STUBS.iterdir()) if NSIS_STUBS.is_dir() else []
    module = next((p for p in stubs if p.is_file()), None)
    tally = Tally()
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="varnel-damaged-") as temp:
        runner = Runner(cli, Path(temp), tally)
        folders = {}
        for source in sample_files(not options.no_modules):
            if not options.only or options.only in str(source):
                folders.setdefault(source.parent, []).append(source)
        for folder, sources in folders.items():
            groups = []
            for source in sources:
                variants = variants_of(source, options.seed, options.per_file)
                if options.limit:
                    variants = variants[:max(0, options.limit - tally.variants)]
                if variants:
                    tally.variants += len(variants)
                    groups.append((source, variants))
            if not groups:
                continue
            faults = try_folder(runner, folder, groups, options.singles, module)
            for fault in faults:
                if fault.new or not options.quiet:
                    print_fault(fault)
            keep_faults(faults, Path(options.keep))
            if not options.quiet:
                print(f"{folder}: {len(sources)} files, {len(faults)} faults, "
                      f"{tally.variants} variants and {tally.runs} runs so far", flush=True)
    minutes = (time.monotonic() - started) / 60
    kinds = sorted({f.kind for f in tally.faults})
    print(f"\n{tally.variants} variants, {tally.runs} runs, {minutes:.1f} min, "
          f"{len(tally.faults)} faults ({len(tally.seen)} distinct)")
    for kind in kinds:
        print(f"  {kind}: {sum(1 for f in tally.faults if f.kind == kind)}")
    return 1 if tally.faults else 0


if __name__ == "__main__":
    sys.exit(main())
