# Quillbank: two commands on a fresh machine, `make run` and `make test`.
PRESET ?= dev
BUILD := build/$(PRESET)

.PHONY: deps configure build run test bench asan fuzz package format clean

deps:
	@scripts/install-deps

configure: deps
	@test -f $(BUILD)/build.ninja || cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

run: build
	$(BUILD)/bin/quillbank-cli list

test: build
	ctest --preset $(PRESET)

asan:
	$(MAKE) test PRESET=asan

# The .deb, built for /usr; `ctest --preset package -R package` then checks it.
package:
	$(MAKE) build PRESET=package
	cd build/package && cpack -G DEB

# Builds the libFuzzer targets and runs each for FUZZ_SECONDS (not part of
# `make test`).
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	@test -f build/fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

bench:
	$(MAKE) build PRESET=release
	scripts/run-benchmarks build/release/bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
