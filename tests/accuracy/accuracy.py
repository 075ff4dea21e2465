#!/usr/bin/env python3
"""Reference-accuracy checker for sumtra-cli.

Runs every built-in function and operator over named regions of its domain,
compares each printed result with the true value computed by mpmath, and
reports the error in units of the last place (ulp) of an 80-bit value.
See docs/accuracy.md for the rules.

    python3 tests/accuracy/accuracy.py --cli build/bin/sumtra-cli
"""
import argparse
import concurrent.futures
import multiprocessing
import os
import random
import subprocess
import sys
import time
from decimal import Decimal

from mpmath import mp, mpc, mpf

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import functions as F  # noqa: E402

# Tolerance in ulps: a statement fails when its worst part is above this.
# Overrides are keyed by function name or by (function, region).
TOLERANCE = {"default": 4}

RESIDUE = mpf("1e-16")       # the printer drops a part below this ratio to the other
RESIDUE_SLACK = mpf("1.01")  # a true part this close to the ratio may be dropped too
DIGITS = 18                  # significant digits printed with -p 18
MAX80 = (2 - mpf(2) ** -64) * mpf(2) ** 16383  # rounds to infinity from here
MIN_ULP = mpf(2) ** -16445   # spacing of the subnormal 80-bit values
WORK_PREC = 256
MAX_PREC = 1 << 15
MARK = "7777777"             # a statement run after each case: delimits the output
BATCH = 400                  # cases per sumtra-cli process


def tolerance(function, region):
    for key in ((function, region), function, "default"):
        if key in TOLERANCE:
            return TOLERANCE[key]


# ---------------------------------------------------------------- cases

def make_cases(seed, per_region):
    """[(function, region, statement, args)], random within the regions."""
    cases = []
    for function, regions in F.REGIONS.items():
        for region, sample in regions.items():
            rng = random.Random("%s:%s:%s" % (seed, function, region))
            cases += [(function, region, F.statement(function, args), args)
                      for args in (sample(rng) for _ in range(per_region))]
    for region, statements in (("reported", F.FIXED), ("errors", F.ERRORS)):
        for s in statements:
            function, args = F.parse_statement(s)
            cases.append((function, region, F.statement(function, args), args))
    seen = set()
    return [c for c in cases if not (c[2] in seen or seen.add(c[2]))]


# ---------------------------------------------------------------- true values

def converged(a, b, prec):
    """Each part agrees to 100 bits, or both are rounding residue of the formula."""
    floor = mpf(2) ** -(prec - 40) * abs(b)
    return all(abs(x - y) <= max(mpf(2) ** -100 * abs(y), floor)
               for x, y in ((a.real, b.real), (a.imag, b.imag)))


def true_value(case):
    """('value', mpc) or ('error', message); 'unconverged' if mpmath could not settle."""
    function, _, _, args = case
    values = [F.value(a) for a in args]
    prec, previous = WORK_PREC, None
    try:
        while True:
            with mp.workprec(prec):
                result = mpc(F.REFERENCE[function](*values))
            if previous is not None and converged(previous, result, prec // 2):
                break
            if prec >= MAX_PREC:
                return ("unconverged", result)
            previous, prec = result, prec * 2
    except F.EngineError as e:
        return ("error", str(e))
    with mp.workprec(WORK_PREC):
        floor = mpf(2) ** -(prec // 2 - 40) * abs(result)
        parts = [p if abs(p) > floor else mpf(0) for p in (result.real, result.imag)]
        if max(abs(p) for p in parts) >= MAX80:
            return ("error", F.OVERFLOW)
        return ("value", mpc(*parts))


def true_values(cases):
    workers = os.cpu_count() or 1
    if workers == 1 or len(cases) < 200:
        return [true_value(c) for c in cases]
    with multiprocessing.Pool(workers) as pool:
        return pool.map(true_value, cases, chunksize=32)


# ---------------------------------------------------------------- running

def run_batch(cli, statements):
    argv = [cli, "-p", str(DIGITS)]
    for s in statements:
        argv += ["-e", s, "-e", MARK]
    try:
        proc = subprocess.run(argv, capture_output=True, text=True, timeout=300)
        out, status = proc.stdout, "exit code %d" % proc.returncode
    except subprocess.TimeoutExpired as e:
        out, status = (e.stdout or b"").decode("utf-8", "replace"), "timeout"
    lines, current = [], []
    for line in out.splitlines():
        if line == "%s = %s" % (MARK, MARK):
            lines.append("\n".join(current))
            current = []
        else:
            current.append(line)
    if len(lines) != len(statements):  # a crash or a hang: the rest count as printing nothing
        print("warning: sumtra-cli stopped after %d of %d statements (%s)"
              % (len(lines), len(statements), status), file=sys.stderr)
    return (lines + [""] * len(statements))[:len(statements)]


def run_cli(cli, statements):
    batches = [statements[i:i + BATCH] for i in range(0, len(statements), BATCH)]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        return [line for lines in pool.map(lambda b: run_batch(cli, b), batches) for line in lines]


# ---------------------------------------------------------------- comparison

PRINTED = F.complex_pattern(r"\d+(?:\.\d+)?(?:E-?\d+)?")


def parse_output(line):
    """('value', (re, im)) with decimal strings or None, or ('error', message)."""
    if " = " not in line:
        message = next((m for m in F.MESSAGES if m in line), line or "(nothing printed)")
        return ("error", message)
    text = line.rsplit(" = ", 1)[1].replace("\u2013", "-")
    parts = F.split_complex(PRINTED, text)
    return ("value", parts) if parts else ("error", "unreadable: " + text)


def ulp(x):
    return max(mpf(2) ** (mp.floor(mp.log(abs(x), 2)) - 63), MIN_ULP) if x else MIN_ULP


def distance(t, printed):
    """From t to the reals that print as the 18-digit decimal `printed`."""
    if printed is None or Decimal(printed) == 0:
        return abs(t)
    d = Decimal(printed)
    half = mpf(10) ** (d.adjusted() - DIGITS + 1) / 2
    p = mpf(printed)
    toward_zero = (t - p) * mp.sign(p) < 0
    if toward_zero and abs(d).normalize() == Decimal(10) ** d.adjusted():
        half /= 10  # below a power of ten the digits are ten times finer
    return max(abs(t - p) - half, 0)


def part_error(t, printed, other):
    """Error of one part in ulps, and a note when the part is wrongly absent or present."""
    residue = abs(t) < RESIDUE * abs(other)
    if printed is None and abs(t) <= RESIDUE * RESIDUE_SLACK * abs(other):
        return mpf(0), ""
    scale = abs(other) if residue else t
    note = "missing part" if printed is None else ("spurious part" if residue else "")
    return distance(t, printed) / ulp(scale), note


def compare(truth, output):
    """(error in ulps or None for a wrong kind of result, note)."""
    kind, expected = truth
    got_kind, got = parse_output(output)
    if kind == "unconverged":
        return None, "reference did not converge"
    if kind == "error" or got_kind == "error":
        if (kind, expected) == (got_kind, got):
            return mpf(0), ""
        return None, "expected %s" % (repr(expected) if kind == "error" else "a value")
    with mp.workprec(WORK_PREC):
        re_err, re_note = part_error(expected.real, got[0], expected.imag)
        im_err, im_note = part_error(expected.imag, got[1], expected.real)
    if re_err >= im_err:
        return re_err, re_note and "real: " + re_note
    return im_err, im_note and "imaginary: " + im_note


def show_true(truth):
    kind, t = truth
    if kind != "value":
        return t if kind == "error" else "?"
    parts = [mp.nstr(p, 20) for p in (t.real, t.imag)]
    if not t.imag:
        return parts[0]
    return ("" if not t.real else parts[0] + ("+" if t.imag > 0 else "")) + parts[1] + "i"


# ---------------------------------------------------------------- reporting

def printed(output):
    kind, got = parse_output(output)
    return got if kind == "error" else output.rsplit(" = ", 1)[-1]


def show_error(err):
    if err is None:
        return "msg"
    return "0" if err == 0 else "<0.01" if err < 0.01 else mp.nstr(err, 3)


def worse(a, b):
    return a is None or (b is not None and a > b)


def summarise(results):
    """{function: {region: row}} in table order."""
    table = {}
    for (function, region, statement, _), truth, output, err, note, ok in results:
        row = table.setdefault(function, {}).setdefault(
            region, {"count": 0, "worst": mpf(0), "failed": 0, "input": "", "result": ""})
        row["count"] += 1
        row["failed"] += not ok
        if worse(err, row["worst"]) or not row["input"]:
            row["worst"], row["input"] = err, statement
            row["result"] = "" if ok else "%s / %s" % (printed(output), show_true(truth))
    return table


def print_report(results, table, verbose):
    for function, regions in table.items():
        print("\n%s" % function)
        print("  %-18s %6s %10s %7s  %s" % ("region", "count", "worst ulp", "failed", "worst input"))
        for region, row in regions.items():
            print("  %-18s %6d %10s %7d  %s" % (region, row["count"], show_error(row["worst"]),
                                                row["failed"], row["input"]))
    failures = [r for r in results if not r[5]]
    if failures:
        print("\nFailing statements (printed | true):")
    shown = {}
    for (function, region, statement, _), truth, output, err, note, ok in failures:
        shown[function] = shown.get(function, 0) + 1
        if shown[function] <= 3 or verbose:
            how = ", ".join(x for x in ("" if err is None else show_error(err) + " ulp", note) if x)
            print("  [%s] %s -> %s | %s  (%s)" % (region, statement, printed(output), show_true(truth), how))
        elif shown[function] == 4:
            print("  ... more failures of %s (--verbose lists all)" % function)


def write_markdown(path, table, cli, passed, failed):
    lines = ["Results of `%s`: %d passed, %d failed." % (cli, passed, failed), "",
             "| Function | Region | Count | Worst (ulp) | Failed | Worst input | Printed / true |",
             "|---|---|---:|---:|---:|---|---|"]
    for function, regions in table.items():
        for region, row in regions.items():
            lines.append("| `%s` | %s | %d | %s | %d | `%s` | %s |" % (
                function, region, row["count"], show_error(row["worst"]), row["failed"],
                row["input"], row["result"]))
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--cli", required=True, help="path of the sumtra-cli binary")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--per-region", type=int, help="random cases per region (default 12, --full 300)")
    ap.add_argument("--full", action="store_true", help="a larger run")
    ap.add_argument("--markdown", metavar="FILE", help="also write the tables as Markdown")
    ap.add_argument("--verbose", action="store_true", help="list every failing statement")
    opts = ap.parse_args()

    if not os.access(opts.cli, os.X_OK):
        ap.error("%s is not an executable" % opts.cli)
    F.check_branch_conventions()
    start = time.time()
    cases = make_cases(opts.seed, opts.per_region or (300 if opts.full else 12))
    truths = true_values(cases)
    outputs = run_cli(opts.cli, [c[2] for c in cases])
    results = []
    for case, truth, output in zip(cases, truths, outputs):
        err, note = compare(truth, output)
        ok = err is not None and err <= tolerance(case[0], case[1])
        results.append((case, truth, output, err, note, ok))
    table = summarise(results)
    print_report(results, table, opts.verbose)
    failed = sum(not r[5] for r in results)
    passed = len(results) - failed
    print("\n(%d statements in %.1f s)" % (len(results), time.time() - start))
    if opts.markdown:
        write_markdown(opts.markdown, table, opts.cli, passed, failed)
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
