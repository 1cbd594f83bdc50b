#!/usr/bin/env python3
"""Papyra against the floors of its heaviest work, each pair run in turn (A B A B ...) in one
call, every figure the median of --runs whole-process runs (wall seconds and peak memory):

  pdf      1099-NEC program-generated forms to PDF at each --sizes payee count, beside reportlab
           (bench/reportlab_page.py) and PoDoFo (bench_podofo_page, when built) drawing Papyra's
           own page 1 as often, with and without the face as a form object
  redcopy  1099-NEC red copies to PDF at 10,000 payees beside reportlab drawing the same page
  preview  a 10,000-page snapshot opened in the preview window beside a 1-page one, and poppler's
           pdftoppm rendering page 1 of the same job as PDF
  storage  bench_storage: deleting record 1 of 10,000 and the full scan against their bulk
           floors (in-process, medians of 5 repetitions)

usage: bench/floors.py [--bin build/bin] [--runs 5] [--sizes 1000,10000,100000]
                       [--only pdf,redcopy,preview,storage] [--references-up-to 10000]
                       [--podofo-pages-up-to 2000]
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run_once(cmd):
    """Wall seconds and peak resident memory (MiB) of one whole process."""
    start = time.monotonic()
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    out = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.monotonic() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit("failed (%d): %s\n%s" % (proc.returncode, " ".join(cmd), out.decode(errors="replace")))
    return wall, usage.ru_maxrss / 1024.0, out.decode(errors="replace")


def in_turn(commands, runs):
    """Runs the named commands in turn, runs times (after one warm-up each); medians."""
    for cmd in commands.values():
        run_once(cmd)
    walls = {name: [] for name in commands}
    peaks = {name: [] for name in commands}
    for _ in range(runs):
        for name, cmd in commands.items():
            wall, peak, _ = run_once(cmd)
            walls[name].append(wall)
            peaks[name].append(peak)
    return {name: (statistics.median(walls[name]), statistics.median(peaks[name]),
                   min(walls[name]), max(walls[name])) for name in commands}


def show(title, results):
    print(title)
    for name, (wall, peak, lo, hi) in results.items():
        print("  %-34s %8.3f s (%.3f-%.3f)  %7.1f MiB" % (name, wall, lo, hi, peak))


def verdict(what, value, aim):
    print("  %-58s %.2f (aim %.2f or less)%s" % (what, value, aim, "" if value <= aim else "  ** missed **"))


def payer_file(args, tmp, payees):
    folder = os.path.join(tmp, "payees%d" % payees)
    if not os.path.exists(os.path.join(folder, "Bench.PE25")):
        run_once([os.path.join(args.bin, "bench_payer_file"), folder, str(payees)])
    return os.path.join(folder, "Bench.PE25")


def batch(args):
    return os.path.join(args.bin, "papyra-batch")


def print_cmd(args, payees_file, kind, out, extra=()):
    return [batch(args), "print", payees_file, "--form", "1099-NEC", "--kind", kind, "--out", out] + list(extra)


# The forms alone, as the references draw them: no page of instructions after each Copy B.
FORMS_ONLY = ("--instructions", "no")


def page_count(args, payees_file, kind, tmp, extra=()):
    _, _, out = run_once(print_cmd(args, payees_file, kind, os.path.join(tmp, "count.pdf"), extra))
    return int(re.search(r"^(\d+) page", out, re.M).group(1))


def page_text(args, tmp, kind):
    """Papyra's own job as display-list text (from 1,000 payees: pages 1 and 2 are all it needs)."""
    path = os.path.join(tmp, "job-%s.txt" % kind)
    if not os.path.exists(path):
        # Red copies have no recipient's instructions to leave out.
        extra = FORMS_ONLY if kind == "program" else ()
        run_once(print_cmd(args, payer_file(args, tmp, 1000), kind, path, extra))
    return path


def reportlab(form, text, pages, out):
    script = os.path.join(HERE, "reportlab_page.py")
    # Debian's interpreter, which python3-reportlab installs into.
    return [os.environ.get("PAPYRA_PYTHON", "/usr/bin/python3"), script] + (["--form"] if form else []) + [text, str(pages), out]


def podofo(args, form, text, pages, out):
    return [os.path.join(args.bin, "bench_podofo_page")] + (["--form"] if form else []) + [text, str(pages), out]


def references(args, text, pages, tmp):
    """The other writers drawing Papyra's page 1 as often; PoDoFo only where it was built."""
    commands = {
        "reportlab, same page": reportlab(False, text, pages, os.path.join(tmp, "rl.pdf")),
        "reportlab, face as form object": reportlab(True, text, pages, os.path.join(tmp, "rlf.pdf")),
    }
    if pages > args.podofo_pages_up_to:
        print("  (PoDoFo left out above %d pages: its page tree makes a run take minutes)" % args.podofo_pages_up_to)
    elif os.path.exists(os.path.join(args.bin, "bench_podofo_page")):
        commands["podofo, same page"] = podofo(args, False, text, pages, os.path.join(tmp, "pd.pdf"))
        commands["podofo, face as form object"] = podofo(args, True, text, pages, os.path.join(tmp, "pdf.pdf"))
    else:
        print("  (bench_podofo_page not built: PoDoFo left out)")
    return commands


def bench_pdf(args, tmp):
    text = page_text(args, tmp, "program")
    peaks = {}
    for payees in args.sizes:
        pe = payer_file(args, tmp, payees)
        pages = page_count(args, pe, "program", tmp, FORMS_ONLY)
        commands = {"papyra": print_cmd(args, pe, "program", os.path.join(tmp, "papyra.pdf"), FORMS_ONLY),
                    # The default job: each Copy B followed by its instructions (not compared).
                    "papyra, with instructions": print_cmd(args, pe, "program", os.path.join(tmp, "papyra-i.pdf"))}
        if payees <= args.references_up_to:
            commands.update(references(args, text, pages, tmp))
        results = in_turn(commands, args.runs)
        show("1099-NEC program-generated, %d payees (%d pages)" % (payees, pages), results)
        if "reportlab, face as form object" in results:
            verdict("papyra / reportlab with form object (time)",
                    results["papyra"][0] / results["reportlab, face as form object"][0], 0.8)
            print("  papyra / reportlab, same page (time): %.2f"
                  % (results["papyra"][0] / results["reportlab, same page"][0]))
            for name in ("podofo, face as form object", "podofo, same page"):
                if name in results:
                    print("  papyra / %s (time): %.2f" % (name, results["papyra"][0] / results[name][0]))
        peaks[payees] = results["papyra"][1]
    if len(peaks) > 1:
        low, high = min(peaks), max(peaks)
        verdict("peak memory, %d payees / %d payees" % (high, low), peaks[high] / peaks[low], 1.5)


def bench_redcopy(args, tmp):
    text = page_text(args, tmp, "redcopy")
    pe = payer_file(args, tmp, 10000)
    pages = page_count(args, pe, "redcopy", tmp)
    results = in_turn({
        "papyra": print_cmd(args, pe, "redcopy", os.path.join(tmp, "papyra.pdf")),
        "reportlab, same page": reportlab(False, text, pages, os.path.join(tmp, "rl.pdf")),
    }, args.runs)
    show("1099-NEC red copies, 10000 payees (%d pages)" % pages, results)
    verdict("papyra / reportlab, same page (time)", results["papyra"][0] / results["reportlab, same page"][0], 0.5)


def bench_preview(args, tmp):
    tool = os.path.join(args.bin, "bench_preview_open")
    files = {}
    for pages in (1, 10000):
        files[pages] = os.path.join(tmp, "preview%d.snp" % pages)
        run_once([tool, "make", str(pages), files[pages]])
    pdf = os.path.join(tmp, "preview10000.pdf")
    run_once([batch(args), "render", files[10000], "--out", pdf])
    results = in_turn({
        "preview, 10,000-page snapshot": [tool, "show", files[10000]],
        "preview, 1-page snapshot": [tool, "show", files[1]],
        "pdftoppm page 1 of the same job": ["pdftoppm", "-f", "1", "-l", "1", "-r", "96", "-png", pdf,
                                            os.path.join(tmp, "poppler")],
    }, args.runs)
    show("preview, page 1 shown", results)
    long, short = results["preview, 10,000-page snapshot"], results["preview, 1-page snapshot"]
    verdict("10,000-page / 1-page preview (time)", long[0] / short[0], 1.2)
    verdict("10,000-page / 1-page preview (memory)", long[1] / short[1], 1.2)


def bench_storage(args, tmp):
    _, _, out = run_once([os.path.join(args.bin, "bench_storage"), "--benchmark_repetitions=%d" % args.runs,
                          "--benchmark_report_aggregates_only=true"])
    print("storage (medians of %d repetitions)" % args.runs)
    for line in out.splitlines():
        if "_median" in line or "floor:" in line:
            print("  " + line.strip())


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=os.path.join(HERE, "..", "build", "bin"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sizes", default="1000,10000,100000")
    parser.add_argument("--only", default="pdf,redcopy,preview,storage")
    # reportlab takes minutes a run at 100,000 payees: above this size Papyra runs alone.
    parser.add_argument("--references-up-to", type=int, default=10000)
    # PoDoFo 0.9's page tree grows in quadratic time: 1,800 pages take a second, 7,200 half a
    # minute and 18,000 several minutes a run.
    parser.add_argument("--podofo-pages-up-to", type=int, default=2000)
    args = parser.parse_args()
    args.sizes = [int(s) for s in args.sizes.split(",")]
    if args.runs < 5:
        sys.exit("--runs must be at least 5: every figure is a median")
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    with tempfile.TemporaryDirectory() as tmp:
        for part in args.only.split(","):
            {"pdf": bench_pdf, "redcopy": bench_redcopy, "preview": bench_preview,
             "storage": bench_storage}[part](args, tmp)
            sys.stdout.flush()


main()
