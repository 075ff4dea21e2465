#!/usr/bin/env python3
"""Compares the complete output of two sumtra-cli builds, byte for byte.

Runs the workloads W1-W6, every tests/programs/*.txt and a deterministic set of
random statements (built-ins, operators, numerals of many shapes, complex
values) through both binaries at several precisions. A run ends at its first
error line, so the random statements go in chunks that restart after it.
Exits 1 when any output differs.

Usage: bench/diff_outputs.py OLD_CLI NEW_CLI [--build DIR]
"""
import argparse
import glob
import os
import random
import subprocess
import sys

FUNCTIONS = ["sin", "cos", "tan", "exp", "ln", "sqrt", "abs", "sinh", "cosh", "tanh", "acos", "asin", "atan",
             "asinh", "acosh", "atanh", "log", "arg", "Re", "Im", "cc", "sign", "fact", "round", "floor", "ceil"]


def random_statements(count, seed=5):
    r = random.Random(seed)

    def number():
        c = r.random()
        if c < 0.2:
            return str(r.randint(0, 1000))
        if c < 0.4:
            return "%.*f" % (r.randint(0, 19), r.uniform(0, 1000))
        if c < 0.5:
            return "%de%d" % (r.randint(1, 99), r.randint(-40, 40))
        if c < 0.6:
            return "%si" % r.randint(1, 50)
        if c < 0.7:
            return "0." + "0" * r.randint(0, 25) + str(r.randint(1, 99999))
        if c < 0.8:
            return str(r.randint(10 ** 17, 10 ** 20))
        return "%.3f" % r.uniform(0, 5)

    def expr(depth=0):
        c = r.random()
        if depth > 3 or c < 0.3:
            return number()
        if c < 0.6:
            return "%s(%s)" % (r.choice(FUNCTIONS), expr(depth + 1))
        return "(%s)%s(%s)" % (expr(depth + 1), r.choice("+-*/^"), expr(depth + 1))

    return [expr() for _ in range(count)]


def output(cli, args, text=None):
    return subprocess.run([cli] + args, input=text, capture_output=True).stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--statements", type=int, default=30000)
    args = parser.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    gen = os.path.join(args.build, "bin", "sumtra-workloads")
    differing, compared = [], 0
    for workload in ["w1", "w2", "w3", "w4", "w5deep", "w5long", "w6"]:
        text = subprocess.run([gen, workload, "sumtra"], capture_output=True, check=True).stdout
        for p in ["5", "18"]:
            compared += 1
            if output(args.old, ["-p", p], text) != output(args.new, ["-p", p], text):
                differing.append("%s -p %s" % (workload, p))
    for path in sorted(glob.glob(os.path.join(root, "tests", "programs", "*.txt"))):
        for p in ["2", "5", "18"]:
            compared += 1
            if output(args.old, ["-p", p, path]) != output(args.new, ["-p", p, path]):
                differing.append("%s -p %s" % (os.path.basename(path), p))
    lines = random_statements(args.statements)
    for p in ["2", "5", "18"]:
        i = 0
        while i < len(lines):
            chunk = ("\n".join(lines[i:i + 3000]) + "\n").encode()
            old = output(args.old, ["-p", p], chunk)
            compared += 1
            if old != output(args.new, ["-p", p], chunk):
                differing.append("random statements %d.. -p %s" % (i + 1, p))
            i += max(old.count(b"\n"), 1)
    print("%d runs compared, %d differing" % (compared, len(differing)))
    for d in differing:
        print("differs:", d)
    sys.exit(1 if differing else 0)


if __name__ == "__main__":
    main()
