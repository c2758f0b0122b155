# Quillbank: two commands on a fresh machine, `make run` and `make test`.
PRESET ?= dev
BUILD := build/$(PRESET)

.PHONY: deps configure build run screenshot test bench asan fuzz package format clean

deps:
	@scripts/install-deps

configure: deps
	@test -f $(BUILD)/build.ninja || cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

# Without a display the app cannot open its window: list the containers instead.
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running quillbank-cli list instead."; \
		$(BUILD)/bin/quillbank-cli list; \
	else \
		$(BUILD)/bin/quillbank; \
	fi

# Draws docs/screenshot.png from a demo history and a stand-in listing program.
screenshot: build
	@mkdir -p $(BUILD)/demo docs
	scripts/demo-history.py $(BUILD)/demo/history.json
	xvfb-run -a -s "-screen 0 1280x1024x24" \
		$(BUILD)/bin/quillbank-screenshot scripts/demo-listing $(BUILD)/demo/history.json docs/screenshot.png

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
