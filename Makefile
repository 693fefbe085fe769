# A newcomer's entry points; each installs what it needs first (Debian packages).
#   make run     build and start the program under Wine (RELEASE=1.27 for the older release)
#   make test    build everything and run every test: native, sanitizers, Windows under Wine
#   make build   the Windows programs, in build/win/
#   make bench   the benchmarks
#   make dist    the package, build/dist/tapecount-<version>-win64.zip
#   make dist-check  the package built twice from clean clones of HEAD: the same bytes?
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DTAPECOUNT_WERROR=ON
RELEASE ?= 1.34

FUZZ_SECONDS ?= 60

.PHONY: all run test build native asan fuzz-build fuzz bench dist dist-check deps format \
  check-format clean

all: build

deps:
	@scripts/install-deps.sh all

# Optimised for size (-Os): an entry costs about a microsecond either way, next to the window's
# repaint, and the project's code shrinks by a third.
build: deps
	cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel $(CMAKE_FLAGS)
	cmake --build build/win -j $(JOBS)

native: deps
	cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build/native -j $(JOBS)

asan: deps
	cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTAPECOUNT_BENCH=OFF $(CMAKE_FLAGS) \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
	cmake --build build/asan -j $(JOBS)

fuzz-build: deps
	cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DTAPECOUNT_TESTS=OFF -DTAPECOUNT_BENCH=OFF -DTAPECOUNT_FUZZ=ON $(CMAKE_FLAGS) \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all"
	cmake --build build/fuzz -j $(JOBS)

test: check-format native asan fuzz-build build
	ctest --test-dir build/native --output-on-failure -j $(JOBS)
	ctest --test-dir build/asan --output-on-failure -j $(JOBS)
	ctest --test-dir build/fuzz --output-on-failure -j $(JOBS)
	ctest --test-dir build/win --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS, growing its corpus in build/fuzz/corpus/.
fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_SECONDS)

run: build
	scripts/run.sh $(RELEASE)

bench: native build
	build/native/bench/tapecount_bench
	scripts/wine-run build/win/bench/startup_bench.exe build/win/tapecount.exe \
	  build/win/bench/minimal_window.exe
	scripts/wine-run build/win/bench/soak_bench.exe

# The package of the built programs, with the guide and the licence.
dist: build
	scripts/dist.py

# Builds the package from two clones of HEAD (committed work only) and compares the bytes.
dist-check: deps
	JOBS=$(JOBS) scripts/dist-check.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
