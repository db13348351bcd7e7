# Developer entry points. The real work is in tools/ (shell) and CMakePresets.json.
#   make test   - everything CI runs: builds all presets, native + sanitizer + Wine tests,
#                 each fuzz target briefly, and the headless demonstration once
#   make run    - builds the Windows program and starts it under Wine on $DISPLAY
#   make bench  - builds the native preset and runs the benchmarks, then the Wine ones
#   make dist   - builds the Release program and packs out/dist/Velvetglide-<version>-win64.zip
#   make fuzz   - fuzzes the parsers of outside text, each target FUZZ_SECONDS (default 600)
#   make soak   - the program under mixed input for SOAK_SECONDS (default 600): units, memory, handles
#   make clean  - removes build output

SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 600
SOAK_SECONDS ?= 600
WINE64 ?= $(firstword $(wildcard /usr/lib/wine/wine64) $(shell command -v wine64 2>/dev/null) /usr/lib/wine/wine64)

.PHONY: all test run bench dist fuzz soak clean setup

all: test

setup:
	@tools/setup

test:
	tools/run-tests

# With DISPLAY set: tools/run-program starts Velvetglide.exe on that display in the
# user's own Wine prefix (~/.wine), not the private session of the tests: this is for
# looking at the program. Without DISPLAY: tools/run-demo shows the program at work in
# a private Xvfb + Wine session and writes out/glide.png, out/demo-window.png and
# out/glide.csv.
run: setup
	@if [ -z "$$DISPLAY" ]; then \
		JOBS=$(JOBS) tools/run-demo; \
	else \
		JOBS=$(JOBS) WINE64="$(WINE64)" tools/run-program; \
	fi

bench: setup
	cmake --preset native
	cmake --build --preset native -j$(JOBS)
	@if [ -x build/native/bin/velvetglide_benchmarks ]; then \
		build/native/bin/velvetglide_benchmarks; \
		build/native/bin/velvetglide_slow_save_bench; \
		build/native/bin/velvetglide_glide_evenness_bench; \
	else \
		echo "build/native/bin/velvetglide_benchmarks is not built yet."; \
	fi
	tools/bench-wine
	tools/bench-display-modes

dist: setup
	@JOBS=$(JOBS) tools/make-dist

fuzz: setup
	FUZZ_SECONDS=$(FUZZ_SECONDS) tools/run-fuzz

soak: setup
	SOAK_SECONDS=$(SOAK_SECONDS) JOBS=$(JOBS) tools/soak

clean:
	rm -rf build out
