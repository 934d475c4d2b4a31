# SPDX-License-Identifier: GPL-3.0-or-later
# Entry points: `make run` opens the viewer on the bundled example, `make check` runs all
# tests (`make check-fast` only the quick unit tests). Both install what is missing and
# build first. `make package` makes the Debian package; `make package-check` (as root)
# installs it, checks it and removes it again.
.PHONY: all deps build run check check-fast format-check bench fuzz asan package package-check clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev

# The viewer needs a display; without one, the example's pages are drawn
# to PNG files instead.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  build/bin/lvxview examples/invoice.lvx; \
	else \
	  echo "No display: drawing the pages to build/example-pages/ instead."; \
	  mkdir -p build/example-pages && build/bin/lvxtrace --png build/example-pages examples/invoice.lvx >/dev/null && ls build/example-pages; \
	fi

check: build
	ctest --preset dev

# The unit tests share no files, sockets or ports: they run side by side,
# one more at a time than there are processors, as some of them wait.
check-fast: build
	ctest --preset dev -L '^unit$$' -j $$(( $$(nproc) + 1 ))

asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	ctest --preset asan

package: deps
	@cmake --preset package >/dev/null
	@cmake --build --preset package
	@rm -f build-package/lvx_*.deb
	@cpack --preset package
	@ls build-package/lvx_*.deb

package-check: package
	packaging/check-package build-package/lvx_*.deb

# Changes nothing: lists the sources clang-format would change.
format-check:
	@scripts/install-deps format
	scripts/check-format

# bench/run and fuzz/run install their own tools (scripts/install-deps bench, fuzz).
bench: deps
	bench/run

fuzz: deps
	fuzz/run

clean:
	rm -rf build build-release build-asan build-package
