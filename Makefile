# The front door: `make run` and `make test` set up everything they need.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no display here (DISPLAY is not set); start it from a desktop session." >&2; exit 1; fi
	@$(BUILD_DIR)/bin/tarvik

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD_DIR)
