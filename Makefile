# Quillbank: two commands on a fresh machine, `make run` and `make test`.
PRESET ?= dev
BUILD := build/$(PRESET)

.PHONY: deps configure build run test bench asan format clean

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

bench:
	$(MAKE) build PRESET=release
	scripts/run-benchmarks build/release/bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
