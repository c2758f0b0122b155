# Quillbank: two commands on a fresh machine, `make run` and `make test`.
# PRESET=cli builds without the window (`make test PRESET=cli` on a server).
PRESET ?= dev
BUILD := build/$(PRESET)
# WERROR=ON (as .ci/run sets it) makes warnings errors; the choice stays in
# the build folder's cache until another is given.
WERROR ?=

.PHONY: deps configure build run screenshot test bench asan fuzz package format clean

deps:
	@scripts/install-deps $(if $(filter cli,$(PRESET)),cli)

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ] || { [ -n "$(WERROR)" ] && \
		! grep -qx 'QUILLBANK_WERROR:BOOL=$(WERROR)' $(BUILD)/CMakeCache.txt; }; then \
		cmake --preset $(PRESET) $(if $(WERROR),-DQUILLBANK_WERROR=$(WERROR)); \
	fi

build: configure
	cmake --build --preset $(PRESET)

# Without a display, or in a build without the window, list the containers.
run: build
	@if [ ! -x $(BUILD)/bin/quillbank ]; then \
		echo "This build has no window (PRESET=$(PRESET)): running quillbank-cli list instead."; \
		$(BUILD)/bin/quillbank-cli list; \
	elif [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
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

# The two .debs, quillbank-cli and quillbank (the window), built for /usr;
# `ctest --preset package -R package` then checks them.
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
