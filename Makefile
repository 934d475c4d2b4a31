# SPDX-License-Identifier: GPL-3.0-or-later
# Entry points: `make run` shows the bundled example, `make check` runs all
# tests. Both install what is missing and build first.
.PHONY: all deps build run check bench asan clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev

run: build
	build/bin/lvxtrace examples/invoice.lvx

check: build
	ctest --preset dev

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	ctest --preset asan

bench: deps
	bench/run

clean:
	rm -rf build build-release build-asan
