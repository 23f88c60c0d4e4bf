#!/usr/bin/env python3
"""What the test suite catches: a fixed, seeded sample of small faults made in the program's core
folders, one at a time; each rebuilt and run against the tests. Run through scripts/mutants.sh.

A fault is one of: a comparison turned (< to >=, == to !=, ...), && and || swapped, an integer
constant off by one, a condition negated, a call statement removed. The sample depends only on
the seed and the source tree, so the same tree gives the same faults before and after a change
to the tests. A fault that does not compile is not counted.
"""
import argparse
import os
import random
import re
import subprocess
import sys
import time

CORE = ["platform", "state", "radio", "panel", "memmgr", "scope", "lock", "net"]
# The test programs, quickest first; the first that fails catches the fault.
TESTS = ["test_platform", "test_state", "test_radio_codec", "test_sim", "test_radio_link", "test_net",
         "test_memmgr", "test_scope", "test_panel", "test_pty", "test_ui", "test_memmgr_window",
         "test_scope_window", "test_window", "test_app"]

RELATIONAL = {" < ": " >= ", " > ": " <= ", " <= ": " > ", " >= ": " < ", " == ": " != ", " != ": " == ",
              " && ": " || ", " || ": " && "}
STATEMENT_CALL = re.compile(r"^\s*(?:[A-Za-z_]\w*(?:\.|->|::))*[A-Za-z_]\w*\(.*\);\s*$")
KEYWORDS = ("return", "if", "for", "while", "switch", "case", "delete", "throw", "co_return", "static_assert")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")


def masked(line):
    """The line with string and character literals and // comments blanked out, same length."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out += "  "
                i += 2
                continue
            if c == quote:
                quote = None
                out.append(c)
            else:
                out.append(" ")
        elif c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and line[i - 1].isdigit():
                out.append(c)
            else:
                quote = c
                out.append(c)
        elif line.startswith("//", i):
            out += " " * (len(line) - i)
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def sites_of(path, text):
    sites = []
    in_block = False
    for n, line in enumerate(text.split("\n")):
        stripped = line.strip()
        if in_block:
            in_block = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if not stripped or stripped.startswith("#") or stripped.startswith("//"):
            continue
        m = masked(line)
        if "static_assert" in m or "constexpr std::array" in m or "template" in m:
            continue
        for op, to in RELATIONAL.items():
            for hit in re.finditer(re.escape(op), m):
                sites.append((path, n, hit.start(), op, to, "comparison" if "&" not in op and "|" not in op else "logic"))
        if re.match(r"^\s*(?:\}\s*else\s+)?if \(", m):
            start = m.index("if (") + 3
            depth = 0
            for j in range(start, len(m)):
                depth += m[j] == "("
                depth -= m[j] == ")"
                if depth == 0:
                    cond = line[start:j + 1]
                    if ";" in cond or "auto " in cond:
                        break  # an init-statement cannot be negated as a whole
                    sites.append((path, n, start, cond, "(!" + cond + ")", "negation"))
                    break
        for hit in INTEGER.finditer(m):
            # Array sizes and indices of the fixed layouts would only break the build.
            before = m[:hit.start()].rstrip()
            if before.endswith("[") or before.endswith("<"):
                continue
            v = hit.group(1)
            sites.append((path, n, hit.start(), v, str(int(v) + 1), "constant"))
        if STATEMENT_CALL.match(m) and not stripped.startswith(KEYWORDS) and m.count("(") == m.count(")"):
            indent = len(line) - len(line.lstrip())
            sites.append((path, n, indent, line[indent:], ";", "call removed"))
    return sites


def apply(text, site):
    _, n, col, old, new, _ = site
    lines = text.split("\n")
    line = lines[n]
    assert line[col:col + len(old)] == old, (site, line)
    lines[n] = line[:col] + new + line[col + len(old):]
    return "\n".join(lines)


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True)
    ap.add_argument("--build", required=True)
    ap.add_argument("--seed", type=int, default=817)
    ap.add_argument("--count", type=int, default=160)
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    ap.add_argument("--out", default=None, help="a file for one line per fault and its result")
    args = ap.parse_args()

    files = subprocess.run(["git", "-C", args.root, "ls-files", *[f"{d}/*.cpp" for d in CORE]], capture_output=True,
                           text=True, check=True).stdout.split()
    sites = []
    for f in sorted(files):
        with open(os.path.join(args.root, f)) as fh:
            sites += sites_of(f, fh.read())
    sample = random.Random(args.seed).sample(sites, min(args.count, len(sites)))
    sample.sort(key=lambda s: (s[0], s[1], s[2]))
    print(f"{len(sites)} places for a fault in {len(files)} files; {len(sample)} chosen with seed {args.seed}")
    if args.list:
        for s in sample:
            print(f"{s[0]}:{s[1] + 1}  {s[5]}: {s[3].strip()} -> {s[4].strip()}")
        return 0

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    os.environ.update(env)
    tests_dir = os.path.join(args.build, "tests")
    results = []
    out = open(args.out, "w") if args.out else None
    t0 = time.time()
    for i, site in enumerate(sample):
        path = os.path.join(args.root, site[0])
        with open(path) as fh:
            original = fh.read()
        try:
            with open(path, "w") as fh:
                fh.write(apply(original, site))
            if run(["cmake", "--build", args.build, "-j2"], 900) != 0:
                result = "does not build"
            else:
                result = "survived"
                for t in TESTS:
                    exe = os.path.join(tests_dir, t)
                    if os.path.exists(exe) and run([exe, "--gtest_brief=1"], 300) != 0:
                        result = "caught by " + t
                        break
        finally:
            with open(path, "w") as fh:
                fh.write(original)
        results.append((site, result))
        line = f"{site[0]}:{site[1] + 1}\t{site[5]}\t{site[3].strip()} -> {site[4].strip()}\t{result}"
        print(f"[{i + 1}/{len(sample)} {time.time() - t0:.0f}s] {line}", flush=True)
        if out:
            out.write(line + "\n")
            out.flush()
    run(["cmake", "--build", args.build, "-j2"], 900)

    print(f"\n{'folder':<10} {'faults':>7} {'caught':>7} {'share':>7}")
    totals = [0, 0]
    for folder in CORE:
        rows = [r for s, r in results if s[0].startswith(folder + "/") and r != "does not build"]
        caught = sum(r.startswith("caught") for r in rows)
        if rows:
            print(f"{folder:<10} {len(rows):>7} {caught:>7} {100.0 * caught / len(rows):>6.1f}%")
        totals[0] += len(rows)
        totals[1] += caught
    print(f"{'all':<10} {totals[0]:>7} {totals[1]:>7} {100.0 * totals[1] / max(1, totals[0]):>6.1f}%")
    return 0


if __name__ == "__main__":
    sys.exit(main())
