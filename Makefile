# A newcomer's entry points; each installs what it needs first (Debian packages).
#   make run     build and start the program under Wine (RELEASE=1.27 for the older release)
#   make test    build everything and run every test: native, sanitizers, Windows under Wine,
#                and the package built twice (dist-check)
#   make build   the Windows programs, in build/win/
#   make bench   the benchmarks
#   make dist    the package, build/dist/tapecount-<version>-win64.zip
#   make dist-check  the package built twice from clean clones of HEAD: the same bytes?
#   make test-repeat each Wine test of both releases 20 times, stopping at a failure (REPEAT=n)
#   make coverage    line and branch coverage of the portable code and of the Win32 shell
JOBS ?= $(shell nproc)
# Each build is a preset of CMakePresets.json (warnings as errors in all); CMAKE_FLAGS adds to it.
CMAKE_FLAGS ?=
RELEASE ?= 1.34

FUZZ_SECONDS ?= 60

.PHONY: all run test build native asan fuzz-build fuzz bench dist dist-check coverage \
  coverage-update deps format check-format check-layers test-repeat clean

all: build

deps:
	@scripts/install-deps.sh all

# The Windows build is optimised for size (-Os): an entry costs about a microsecond either way,
# next to the window's repaint, and the project's code shrinks by a third.
build: deps
	cmake --preset windows $(CMAKE_FLAGS)
	cmake --build --preset windows -j $(JOBS)

native: deps
	cmake --preset native $(CMAKE_FLAGS)
	cmake --build --preset native -j $(JOBS)

asan: deps
	cmake --preset asan $(CMAKE_FLAGS)
	cmake --build --preset asan -j $(JOBS)

fuzz-build: deps
	cmake --preset fuzz $(CMAKE_FLAGS)
	cmake --build --preset fuzz -j $(JOBS)

test: check-format check-layers native asan fuzz-build build
	ctest --preset native -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	ctest --preset fuzz -j $(JOBS)
	scripts/pdf-printer.sh || true  # a default printer for the print dialogs, where root can add one
	ctest --preset windows -j $(JOBS)
	JOBS=$(JOBS) scripts/dist-check.sh

# Each Wine test of both releases, in both code pages, run REPEAT times (default 20); the run
# stops at the first failure: a test that fails once is a fault to find, never retried.
REPEAT ?= 20
test-repeat: build
	ctest --preset windows -L 'wine|japanese' -j $(JOBS) --repeat until-fail:$(REPEAT) \
	  --stop-on-failure

# Each fuzz target for FUZZ_SECONDS, growing its corpus in build/fuzz/corpus/.
fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_SECONDS)

run: build
	scripts/run.sh $(RELEASE)

bench: native build
	build/native/bench/tapecount_bench
	scripts/wine-run build/win/bench/startup_bench.exe build/win/tapecount.exe \
	  build/win/bench/plain_window.exe build/win/bench/minimal_window.exe
	scripts/wine-run build/win/bench/soak_bench.exe

# The package of the built programs, with the guide and the licence.
dist: build
	scripts/dist.py

# Builds the package from two clones of HEAD (committed work only) and compares the bytes.
dist-check: deps
	JOBS=$(JOBS) scripts/dist-check.sh

# Coverage, in build folders of its own (not part of `make test`: everything is built again
# and the Wine tests run again, some minutes): the portable code from the native tests, the
# Win32 shell from its Wine tests and the programs they start. Ends with the two lines
# "portable: lines ...% branches ...%" and "shell: ...", after the lines no test runs
# compared with tests/uncovered.txt; coverage-update rewrites that list, keeping its reasons.
coverage: deps
	cmake --preset coverage $(CMAKE_FLAGS)
	cmake --build --preset coverage -j $(JOBS)
	cmake --preset coverage-win $(CMAKE_FLAGS)
	cmake --build --preset coverage-win -j $(JOBS)
	scripts/coverage.py clear
	ctest --preset coverage -j $(JOBS)
	scripts/pdf-printer.sh || true  # a default printer for the print dialogs, as in make test
	ctest --preset coverage-win
	scripts/coverage.py report

coverage-update: coverage
	scripts/coverage.py update

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# The layers' order is the build's (cmake/layers.cmake); this checks what the build cannot see.
check-layers:
	scripts/check-layers.sh

clean:
	rm -rf build
