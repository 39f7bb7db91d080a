# Thin wrappers around the CMake presets; every target installs what it needs first.
JOBS ?= $(shell nproc)
DEMO_OUT := demo-output

.PHONY: all deps test test-sanitize fuzz demo bench bench-check package coverage golden clean

all: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

deps:
	scripts/install-deps

test: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)
	ctest --preset debug -j $(JOBS)

# The whole suite again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer
# (clang); the options the sanitizers run with are in the asan-ubsan test preset.
test-sanitize:
	scripts/install-deps --sanitize
	cmake --preset asan-ubsan
	cmake --build --preset asan-ubsan -j $(JOBS)
	ctest --preset asan-ubsan -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each, one after another (tests/fuzz/run); FUZZ_TARGETS=
# names some of them.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
fuzz:
	scripts/install-deps --sanitize
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	tests/fuzz/run build/fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

demo: all
	examples/run-demo build/release $(DEMO_OUT)

# SIZE= sets the size of each generated input (default 1G).
SIZE ?= 1G
bench: all
	bench/run build/release $(SIZE)

# The whole-file table at 64M, failing when a conversion is over 1.5x cat or 32 MiB of memory.
bench-check: all
	bench/throughput build/release 64M --check

# A .deb from a plain release build (no presets: distributions build with their own flags),
# checked with dpkg-deb and lintian.
package:
	scripts/install-deps --package
	cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DSULVAN_BUILD_TESTS=OFF \
		-DSULVAN_BUILD_BENCH=OFF
	cmake --build build/package -j $(JOBS)
	cd build/package && cpack
	scripts/check-package build/package/*.deb

# Rewrites the expected outputs under tests/data from what the programs make now; review the
# diff before committing it.
golden: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)
	SULVAN_UPDATE_GOLDEN=1 build/debug/tests/sulvan_golden_tests
	SULVAN_UPDATE_GOLDEN=1 build/debug/tests/sulvan_convert_tests
	git status --short tests/data

# Line and branch coverage of src/ and apps/ by the whole suite; the per-file table goes to
# build/coverage/coverage.txt.
coverage:
	scripts/install-deps --coverage
	cmake --preset coverage
	cmake --build --preset coverage -j $(JOBS)
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage -j $(JOBS) >/dev/null
	scripts/coverage-report build/coverage

clean:
	rm -rf build $(DEMO_OUT)
