#!/usr/bin/python3
"""Plot benchmark: Zelka's EXPORT against LibreCAD's dxf2pdf on one plan.

    plot_bench.py [--rooms 50000] [--seed 1] [--zelka PATH] [--out-dir DIR]

1. Generates the floor plan with gen_floorplan.py into bench/out/ (kept and
   reused by later runs with the same arguments; the same file as the
   open-and-save benchmark).
2. Zelka: `zelka --command "EXPORT\\nOUT.pdf"` (open the plan, plot model space
   with every label to a PDF), the same to a PNG, and a run that only opens
   the plan, so the plot's own time is the difference. The plan's model
   layout is not set up for plotting: extents, fit, centred, ISO A3 landscape.
3. LibreCAD: `librecad dxf2pdf -a -p 420x297 -t DIR IN` (headless,
   QT_QPA_PLATFORM=offscreen): fit and centred on A3 landscape. dxf2pdf draws
   no attribute text.
4. Each under /usr/bin/time -v and nice, one run each, one after the other:
   wall-clock seconds and peak resident memory. The texts of Zelka's PDF are
   counted with pdftotext.
5. Prints the figures and a Markdown row for bench/RESULTS.md.
"""

import argparse
import datetime
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

PYTHON = "/usr/bin/python3"
BENCH = Path(__file__).resolve().parent
ROOT = BENCH.parent
OUT = BENCH / "out"


def timed(cmd, env=None):
    """Runs cmd under /usr/bin/time -v; (wall seconds, peak MiB, exit status, output)."""
    full = ["/usr/bin/time", "-v", "nice", "-n", "5"] + cmd
    p = subprocess.run(full, capture_output=True, text=True, env=env)
    wall = re.search(r"Elapsed \(wall clock\) time.*: (?:(\d+):)?(\d+):([\d.]+)", p.stderr)
    seconds = 0.0
    if wall:
        h = int(wall.group(1) or 0)
        seconds = h * 3600 + int(wall.group(2)) * 60 + float(wall.group(3))
    peak = re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr)
    return seconds, (int(peak.group(1)) / 1024.0 if peak else 0.0), p.returncode, p.stdout + p.stderr


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rooms", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--zelka", default=None, help="the zelka program (default build*/bin/zelka)")
    parser.add_argument("--out-dir", default=str(OUT))
    args = parser.parse_args(argv)
    out = Path(args.out_dir)
    out.mkdir(parents=True, exist_ok=True)
    plan = out / f"floorplan_{args.rooms}_s{args.seed}_R2013.dxf"
    if not plan.exists():
        subprocess.run([PYTHON, str(BENCH / "gen_floorplan.py"), "--rooms", str(args.rooms), "--seed",
                        str(args.seed), "--dxfversion", "R2013", "--out", str(plan)], check=True)
    zelka = args.zelka
    if not zelka:
        for folder in ("build", "build-bench", "build-plot"):
            if (ROOT / folder / "bin" / "zelka").exists():
                zelka = str(ROOT / folder / "bin" / "zelka")
                break
    if not zelka:
        sys.exit("zelka is not built; build it first or give --zelka")
    appdata = tempfile.mkdtemp(prefix="zelka-bench-")
    # dxf2pdf names its PDF after the drawing, in the folder given with -t.
    lib_dir = out / "librecad"
    lib_dir.mkdir(exist_ok=True)
    pdf, png, lib_pdf = out / "plan-zelka.pdf", out / "plan-zelka.png", lib_dir / (plan.stem + ".pdf")
    for f in (pdf, png, lib_pdf):
        if f.exists():
            f.unlink()

    def zelka_run(command):
        return timed([zelka, "--appdata", appdata, "--command", command, str(plan)])

    results = {}
    results["open"] = zelka_run("")
    results["pdf"] = zelka_run(f"EXPORT\n{pdf}")
    results["png"] = zelka_run(f"EXPORT\n{png}")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    results["librecad"] = timed(["librecad", "dxf2pdf", "-a", "-p", "420x297", "-t", str(lib_dir), str(plan)], env)
    for name, (wall, peak, status, text) in results.items():
        print(f"{name:9s} {wall:8.2f} s {peak:9.1f} MiB exit {status}")
        if status != 0:
            print(text[-2000:])
    texts = subprocess.run(["pdftotext", str(pdf), "-"], capture_output=True, text=True).stdout
    labels = len(re.findall(r"sq\.m\.", texts))
    print(f"Zelka PDF: {pdf.stat().st_size if pdf.exists() else 0} bytes, {labels} area labels found by pdftotext")
    print(f"LibreCAD PDF: {lib_pdf.stat().st_size if lib_pdf.exists() else 0} bytes")
    open_s = results["open"][0]
    pdf_s, png_s, lib_s = results["pdf"][0], results["png"][0], results["librecad"][0]
    print(f"plot only (minus opening): PDF {pdf_s - open_s:.2f} s, PNG {png_s - open_s:.2f} s")
    ratio = lib_s / pdf_s if pdf_s > 0 else 0.0
    print(f"LibreCAD dxf2pdf / Zelka EXPORT to PDF (whole runs): {ratio:.1f}x")
    row = (f"| {datetime.date.today()} | {args.rooms} rooms | {open_s:.2f} | {pdf_s:.2f} | {results['pdf'][1]:.0f} | "
           f"{png_s:.2f} | {results['png'][1]:.0f} | {lib_s:.2f} | {results['librecad'][1]:.0f} | {ratio:.1f}x |")
    print(row)


if __name__ == "__main__":
    main()
