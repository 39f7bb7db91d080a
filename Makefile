# Thin wrappers around the CMake presets; every target installs what it needs first.
JOBS ?= $(shell nproc)
DEMO_OUT := demo-output

.PHONY: all deps test demo bench clean

all: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

deps:
	scripts/install-deps

test: deps
	cmake --preset debug
	cmake --build --preset debug -j $(JOBS)
	ctest --preset debug -j $(JOBS)

demo: all
	examples/run-demo build/release $(DEMO_OUT)

bench: all
	bench/run build/release

clean:
	rm -rf build $(DEMO_OUT)
