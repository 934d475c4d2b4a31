#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""lvx side by side with the tools an office would use instead.

1. Batch printing: lvxprint writing one PDF file (LVXPRINT_OUTPUT) against
   Ghostscript's pdfwrite on the same pages as PostScript: time, PDF size,
   peak memory, fonts and pictures in the PDF.
2. Page drawing: one page request of the viewer (its document of the
   windows' three drawings, offscreen) against mutool drawing the same page
   from Ghostscript's PDF at 96 dpi, as time per additional page:
   (time for N pages - time for 1 page) / (N - 1), both as processes; and
   the same for a screen of device pixel ratio 2 against mutool at 192 dpi.
3. Start-up: the header pre-read and the first page of a 50 MB document
   against `wc -l` on it.
4. The interpreter alone (null views) over the 50 MB document against `wc -l`.

Every time is the minimum of several runs (the machine is shared; the
median is printed beside it). Called by bench/compare.sh, which builds the
programs; run that instead.
"""
import argparse
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

PAGES_PER_DOC = 5


def run(cmd, env=None, cwd=None, quiet=True):
    out = subprocess.DEVNULL if quiet else None
    subprocess.run(cmd, env=env, cwd=cwd, check=True, stdout=out, stderr=out)


def hyperfine(commands, runs, env, warmup=1):
    """(min, median) in seconds for each command, timed by hyperfine."""
    with tempfile.NamedTemporaryFile(suffix=".json") as report:
        run(["hyperfine", "-N", "--style", "none", "--runs", str(runs), "--warmup", str(warmup),
             "--export-json", report.name] + commands, env=env)
        results = json.load(open(report.name))["results"]
    return [(r["min"], r["median"]) for r in results]


def peak_kb(cmd, env):
    """Peak resident memory of one run, from GNU time."""
    res = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, env=env, check=True,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(res.stderr.strip().splitlines()[-1])


def probe(lvxbench, args, env):
    """Lines "NAME MIN MEDIAN" of lvxbench as {name: (min, median)} in seconds."""
    out = subprocess.run([lvxbench] + args, env=env, check=True, capture_output=True,
                         text=True).stdout
    figures = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3:
            figures[parts[0]] = (float(parts[1]) / 1000, float(parts[2]) / 1000)
    return figures


def pdf_fonts(pdf):
    """(fonts, fonts embedded as subsets) as pdffonts lists them."""
    out = subprocess.run(["pdffonts", pdf], check=True, capture_output=True, text=True).stdout
    rows = [line.split() for line in out.splitlines()[2:] if line.strip()]
    # Columns from the right: emb sub uni object-number generation.
    subsets = sum(1 for r in rows if r[-5] == "yes" and r[-4] == "yes")
    return len(rows), subsets


def pdf_pictures(pdf):
    """(pictures drawn, picture objects stored) as pdfimages lists them."""
    out = subprocess.run(["pdfimages", "-list", pdf], check=True, capture_output=True,
                         text=True).stdout
    rows = [line.split() for line in out.splitlines()[2:] if line.strip()]
    return len(rows), len({r[10] for r in rows})


def pdf_pages(pdf):
    out = subprocess.run(["pdfinfo", pdf], check=True, capture_output=True, text=True).stdout
    for line in out.splitlines():
        if line.startswith("Pages:"):
            return int(line.split()[1])
    return 0


class Report:
    def __init__(self):
        self.verdicts = []

    @staticmethod
    def line(what, lvx, other, unit, ratio_text):
        print(f"  {what:<34} {lvx:>10} {other:>10} {unit:<4} {ratio_text}")

    def target(self, name, met, detail):
        self.verdicts.append((name, met, detail))

    def summary(self):
        print("\nTargets")
        for name, met, detail in self.verdicts:
            print(f"  [{'met' if met else 'MISSED':>6}] {name}: {detail}")


def ms(seconds):
    return f"{seconds * 1000:.1f}"


def mb(n_bytes):
    return f"{n_bytes / 1e6:.2f}"


def generate(kit, folder, docs, mode="invoices"):
    os.makedirs(folder, exist_ok=True)
    name = "huge.lvx" if mode == "huge" else "batch.lvx"
    path = os.path.join(folder, name)
    args = [sys.executable, os.path.join(kit, "gen_lvx.py"), "-o", path, "--seed", "1"]
    if mode == "huge":
        args += ["--mode", "huge", "--size-mb", "50"]
    else:
        args += ["--docs", str(docs), "--pages-per-doc", str(PAGES_PER_DOC)]
    run(args)
    if mode != "huge":
        run([sys.executable, os.path.join(kit, "lvx2ps.py"), path, "-o",
             os.path.join(folder, "batch.ps")])
    return path


def batch_printing(a, work, env, report):
    print(f"\n1. Batch printing: lvxprint (LVXPRINT_OUTPUT) vs gs -sDEVICE=pdfwrite")
    print(f"  {'':<34} {'lvx':>10} {'gs':>10}")
    peaks = {}
    per_page = {}
    sizes = sorted(set(a.pages + [a.flat_base]))
    for pages in sizes:
        folder = os.path.join(work, f"b{pages}")
        doc = generate(a.kit, folder, pages // PAGES_PER_DOC)
        ps = os.path.join(folder, "batch.ps")
        lvx_pdf = os.path.join(folder, "lvx.pdf")
        gs_pdf = os.path.join(folder, "gs.pdf")
        lvx_cmd = [a.lvxprint, doc]
        gs_cmd = ["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                  f"-sOutputFile={gs_pdf}", ps]
        lvx_env = dict(env, LVXPRINT_OUTPUT=lvx_pdf)
        peaks[pages] = peak_kb(lvx_cmd, lvx_env)
        if pages not in a.pages:
            continue
        # lvxprint's runs are short enough for the full count at every size,
        # which keeps its minimum (and the ratio between sizes) steady on a
        # shared machine; Ghostscript's long runs get fewer.
        (lvx_t,) = hyperfine([shlex.join(lvx_cmd)], a.runs, lvx_env)
        gs_runs = max(2, a.runs if pages <= 1000 else a.runs // 2)
        (gs_t,) = hyperfine([shlex.join(gs_cmd)], gs_runs, env)
        gs_peak = peak_kb(gs_cmd, env)
        lvx_size, gs_size = os.path.getsize(lvx_pdf), os.path.getsize(gs_pdf)
        per_page[pages] = (lvx_t[0], gs_t[0])
        print(f" {pages} pages ({pdf_pages(lvx_pdf)} in lvx's PDF, {pdf_pages(gs_pdf)} in gs's)")
        report.line("time min (median)", f"{lvx_t[0]:.2f}s", f"{gs_t[0]:.2f}s", "",
                    f"gs/lvx {gs_t[0] / lvx_t[0]:.2f}x   (medians {lvx_t[1]:.2f}s, {gs_t[1]:.2f}s)")
        report.line("time per page (ms)", ms(lvx_t[0] / pages), ms(gs_t[0] / pages), "", "")
        report.line("PDF size (MB)", mb(lvx_size), mb(gs_size), "",
                    f"lvx/gs {lvx_size / gs_size:.2f}")
        report.line("peak memory (MB)", mb(peaks[pages] * 1024), mb(gs_peak * 1024), "",
                    f"lvx/gs {peaks[pages] / gs_peak:.2f}")
        fonts, subsets = pdf_fonts(lvx_pdf)
        gs_fonts, gs_subsets = pdf_fonts(gs_pdf)
        report.line("fonts (as subsets)", f"{fonts} ({subsets})", f"{gs_fonts} ({gs_subsets})",
                    "", "")
        drawn, stored = pdf_pictures(lvx_pdf)
        gs_drawn, gs_stored = pdf_pictures(gs_pdf)
        report.line("pictures drawn / stored", f"{drawn}/{stored}", f"{gs_drawn}/{gs_stored}",
                    "", "")
        speed = gs_t[0] / lvx_t[0]
        report.target(f"printing {pages} pages >= 3x faster than gs", speed >= 3,
                      f"{speed:.2f}x ({lvx_t[0]:.2f}s vs {gs_t[0]:.2f}s)")
        report.target(f"PDF of {pages} pages no larger than gs's", lvx_size <= gs_size,
                      f"{mb(lvx_size)} MB vs {mb(gs_size)} MB ({lvx_size / gs_size:.2f})")
        report.target(f"peak memory for {pages} pages no higher than gs's",
                      peaks[pages] <= gs_peak,
                      f"{mb(peaks[pages] * 1024)} MB vs {mb(gs_peak * 1024)} MB")
        report.target(f"{pages} pages: logo stored once, fonts as subsets",
                      stored == 1 and subsets == fonts and fonts > 0,
                      f"{stored} picture object(s) for {drawn} drawn; {subsets} of {fonts} "
                      "fonts subset")
    if len(per_page) >= 2:
        small, large = min(per_page), max(per_page)
        extra = large - small
        lvx_extra = (per_page[large][0] - per_page[small][0]) / extra
        gs_extra = (per_page[large][1] - per_page[small][1]) / extra
        print(f" per additional page ({small} to {large} pages)")
        report.line("time per page (ms)", ms(lvx_extra), ms(gs_extra), "",
                    f"gs/lvx {gs_extra / lvx_extra:.2f}x")
        # Linear cost: the longest run takes at most 1.04 times the next
        # one's time per page (5,000 pages at most 2.6 x 2,000).
        below = max(p for p in per_page if p != large)
        limit = 1.04 * large / below
        growth_time = per_page[large][0] / per_page[below][0]
        report.target(f"lvxprint time linear ({large} pages at most {limit:.1f}x {below})",
                      growth_time <= limit,
                      f"{growth_time:.2f}x ({per_page[large][0]:.2f}s vs "
                      f"{per_page[below][0]:.2f}s)")
    big = max(a.pages)
    growth = peaks[big] / peaks[a.flat_base]
    report.target(f"lvxprint peak memory flat ({big} pages within 10% of {a.flat_base})",
                  growth <= 1.10,
                  f"{mb(peaks[big] * 1024)} MB vs {mb(peaks[a.flat_base] * 1024)} MB "
                  f"({(growth - 1) * 100:+.1f}%)")


def prepare_drawing(a, work, env):
    """The inputs of the page drawing when no print run made them."""
    folder = os.path.join(work, f"b{min(a.pages)}")
    generate(a.kit, folder, min(a.pages) // PAGES_PER_DOC)
    run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
         f"-sOutputFile={os.path.join(folder, 'gs.pdf')}", os.path.join(folder, "batch.ps")],
        env=env)


def page_drawing(a, work, env, report):
    for ratio in (1, 2):
        page_drawing_at(a, work, env, report, ratio)


def page_drawing_at(a, work, env, report, ratio):
    """Page requests on a screen of device pixel ratio `ratio` against mutool
    at that many times 96 dpi."""
    dpi = str(96 * ratio)
    print(f"\n2. Page drawing at device pixel ratio {ratio}: a viewer page request vs "
          f"mutool draw -r {dpi} (per additional page)")
    folder = os.path.join(work, f"b{min(a.pages)}")
    doc = os.path.join(folder, "batch.lvx")
    pdf = os.path.join(folder, "gs.pdf")
    n = a.draw_pages
    # Short processes: more runs, so that the minimum is a quiet one.
    runs = max(a.runs, 10)
    lvx1, lvxn = hyperfine([shlex.join([a.lvxbench, "pages", doc, "1", str(ratio)]),
                            shlex.join([a.lvxbench, "pages", doc, str(n), str(ratio)])], runs, env)
    mu1, mun = hyperfine([shlex.join(["mutool", "draw", "-r", dpi, pdf, "1"]),
                          shlex.join(["mutool", "draw", "-r", dpi, pdf, f"1-{n}"])], runs, env)
    lvx_page = (lvxn[0] - lvx1[0]) / (n - 1)
    mu_page = (mun[0] - mu1[0]) / (n - 1)
    inproc = probe(a.lvxbench, ["pagetimes", doc, str(n), str(ratio)], env)["page"]
    print(f"  {'':<34} {'lvx':>10} {'mutool':>10}")
    report.line(f"1 page, process (ms)", ms(lvx1[0]), ms(mu1[0]), "", "")
    report.line(f"{n} pages, process (ms)", ms(lvxn[0]), ms(mun[0]), "", "")
    report.line("per additional page (ms)", ms(lvx_page), ms(mu_page), "",
                f"mutool/lvx {mu_page / lvx_page:.2f}x")
    report.line("lvx page request in process (ms)", ms(inproc[0]), "", "",
                f"(median {ms(inproc[1])})")
    report.target(f"a page request at ratio {ratio} no slower than mutool's page at {dpi} dpi",
                  lvx_page <= mu_page,
                  f"{ms(lvx_page)} ms vs {ms(mu_page)} ms per additional page")


def large_document(a, work, env, report):
    doc = generate(a.kit, os.path.join(work, "huge"), 1, mode="huge")
    (wc,) = hyperfine([shlex.join(["wc", "-l", doc])], max(a.runs, 10), env, warmup=2)
    startup = probe(a.lvxbench, ["startup", doc, str(a.runs)], env)
    interp = probe(a.lvxbench, ["interp", doc, str(max(2, a.runs // 2))], env)
    size = os.path.getsize(doc)
    print(f"\n3. Start-up on a {mb(size)} MB document vs wc -l (in process; wc as a process)")
    print(f"  {'':<34} {'lvx':>10} {'wc -l':>10}")
    header = startup["startup-header"][0]
    report.line("header pre-read (ms)", ms(header), ms(wc[0]), "",
                f"lvx/wc {header / wc[0]:.1f}x")
    report.line("first page (ms)", ms(startup["startup-first-page"][0]), "", "", "")
    report.line("pre-read + first page (ms)", ms(startup["startup"][0]), ms(wc[0]), "",
                f"lvx/wc {startup['startup'][0] / wc[0]:.1f}x")
    print(f"\n4. The interpreter alone (null views) over the same document vs wc -l")
    report.line("all pages (ms)", ms(interp["interp"][0]), ms(wc[0]), "",
                f"lvx/wc {interp['interp'][0] / wc[0]:.1f}x")
    report.target("header pre-read within 5x wc -l", header <= 5 * wc[0],
                  f"{header / wc[0]:.1f}x ({ms(header)} ms vs {ms(wc[0])} ms)")
    report.target("interpreter within 10x wc -l", interp["interp"][0] <= 10 * wc[0],
                  f"{interp['interp'][0] / wc[0]:.1f}x ({ms(interp['interp'][0])} ms vs "
                  f"{ms(wc[0])} ms)")


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--kit", required=True, help="folder of gen_lvx.py and lvx2ps.py")
    ap.add_argument("--bin", required=True, help="folder of the release programs")
    ap.add_argument("--pages", type=int, nargs="+", default=[100, 1000, 5000])
    ap.add_argument("--flat-base", type=int, default=500,
                    help="run length the longest run's peak memory is compared with")
    ap.add_argument("--runs", type=int, default=5, help="runs per timing (fewer for long ones)")
    ap.add_argument("--draw-pages", type=int, default=81)
    ap.add_argument("--only", choices=["print", "draw", "large"], nargs="+",
                    default=["print", "draw", "large"])
    a = ap.parse_args()
    for tool in ("gs", "mutool", "hyperfine", "pdffonts", "pdfimages", "pdfinfo", "wc"):
        if shutil.which(tool) is None:
            sys.exit(f"compare: {tool} is missing (scripts/install-deps installs it)")

    work = tempfile.mkdtemp(prefix="lvx-compare-")
    try:
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        # lvxprint from a folder of its own, so that no lvxprint.ini of the
        # build is used; no printer scheduler, no display.
        app = os.path.join(work, "app")
        os.mkdir(app)
        shutil.copy2(os.path.join(a.bin, "lvxprint"), app)
        a.lvxprint = os.path.join(app, "lvxprint")
        a.lvxbench = os.path.join(a.bin, "lvxbench")
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="offscreen",
                   CUPS_SERVER=os.path.join(work, "no-cups.sock"))
        report = Report()
        print(f"Times are the minimum of several runs (median beside); {os.cpu_count()} cores, "
              "shared.")
        if "print" in a.only:
            batch_printing(a, work, env, report)
        if "draw" in a.only:
            if "print" not in a.only:
                prepare_drawing(a, work, env)
            page_drawing(a, work, env, report)
        if "large" in a.only:
            large_document(a, work, env, report)
        report.summary()
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
