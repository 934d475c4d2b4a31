#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# lvx against the tools an office would use instead, in one run: batch
# printing against Ghostscript, page drawing against mutool, start-up and
# the interpreter against wc -l. Builds the release programs first.
#
# Usage: bench/compare.sh [compare.py options]   (bench/compare.py --help)
# The inputs come from the benchmark kit's gen_lvx.py and lvx2ps.py
# (BENCH_KIT, default ../shared/bench-kit beside the project).
set -eu
cd "$(dirname "$0")/.."
kit=${BENCH_KIT:-$PWD/../shared/bench-kit}
for script in gen_lvx.py lvx2ps.py; do
  [ -f "$kit/$script" ] || { echo "compare.sh: no $kit/$script (set BENCH_KIT)" >&2; exit 2; }
done
cmake --preset release >/dev/null
cmake --build --preset release --target lvxprint lvxbench >/dev/null
exec python3 bench/compare.py --kit "$kit" --bin build-release/bin "$@"
