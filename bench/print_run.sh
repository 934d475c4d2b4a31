#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Times lvxprint on a long batch of invoices written as one PDF file
# (LVXPRINT_OUTPUT), every page with the same logo, and reports the time,
# the peak memory, the PDF's size, its pages and how many pictures it stores.
#
# Usage: bench/print_run.sh [PAGES]     (default 5000, in documents of 5 pages)
# The input comes from the benchmark kit's gen_lvx.py (BENCH_KIT, default
# /work/shared/bench-kit); lvxprint from the release build (built here unless
# LVXPRINT names another binary).
set -eu
cd "$(dirname "$0")/.."
pages=${1:-5000}
per_doc=5
kit=${BENCH_KIT:-/work/shared/bench-kit}
[ -f "$kit/gen_lvx.py" ] || { echo "print_run.sh: no $kit/gen_lvx.py (set BENCH_KIT)" >&2; exit 2; }

if [ -z "${LVXPRINT:-}" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target lvxprint >/dev/null
  LVXPRINT=build-release/bin/lvxprint
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app" "$work/docs"
# A program folder of its own, so that no lvxprint.ini of the build is used.
cp "$LVXPRINT" "$work/app/lvxprint"
python3 "$kit/gen_lvx.py" -o "$work/docs/batch.lvx" --docs $((pages / per_doc)) \
  --pages-per-doc $per_doc --seed 1 >/dev/null 2>&1

# No printer scheduler and no display: only the PDF file is written.
CUPS_SERVER="$work/no-cups.sock" LVXPRINT_OUTPUT="$work/batch.pdf" XDG_RUNTIME_DIR="$work" \
  /usr/bin/time -v "$work/app/lvxprint" "$work/docs/batch.lvx" 2>"$work/time.txt" || {
  cat "$work/time.txt" >&2
  exit 1
}

seconds=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
pdf_bytes=$(stat -c %s "$work/batch.pdf")
pdf_pages=$(pdfinfo "$work/batch.pdf" | sed -n 's/^Pages: *//p')
pictures=$(pdfimages -list "$work/batch.pdf" | awk 'NR > 2 { n++; ids[$11] = 1 }
  END { k = 0; for (i in ids) k++; printf "%d drawn, %d stored", n, k }')
doc_bytes=$(stat -c %s "$work/docs/batch.lvx")

echo "lvxprint, $pdf_pages pages ($doc_bytes bytes of lvx) into one PDF file:"
echo "  wall time      $seconds (m:ss)"
echo "  peak memory    $((peak_kb / 1024)) MB"
echo "  PDF size       $((pdf_bytes / 1024)) KB ($((pdf_bytes / pdf_pages)) bytes a page)"
echo "  logo pictures  $pictures"
