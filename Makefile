# The front door: `make run` and `make test` set up everything they need.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test test-asan test-debian13 fuzz package bench windows test-windows web web-site release check-release clean

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

# Start-up, moves and memory against the toolkit's floor, as one table.
bench: build
	@tools/with_xvfb.sh $(BUILD_DIR)/bench/tarvik_bench

# A Debian package in $(BUILD_DIR)/, e.g. build/tarvik_1.0.0_amd64.deb
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# The suite again with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer: all but the page's tests, whose program is WebAssembly, and
# the package's, which judge the hardened build that ships.
test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) -LE 'web|package'

# `make test` and `make test-windows` on Debian 13, the current stable, in a
# tree of its own made once with mmdebstrap into ~/.cache/tarvik, with a fresh
# clone of HEAD. Needs root. (tools/debian13.sh runs other targets there too.)
test-debian13:
	@tools/debian13.sh test test-windows

# Fuzzes the bitmap reader for FUZZ_SECONDS under ASan and UBSan, from our
# seeds with a dictionary of the header's edges; any finding fails it.
FUZZ_SECONDS ?= 180
fuzz:
	@tools/install-deps.sh clang libclang-rt-dev
	@cmake --preset fuzz >/dev/null
	@cmake --build build-fuzz --target fuzz_bitmap -j $(JOBS)
	@tests/fuzz/run.sh build-fuzz/tests/fuzz/fuzz_bitmap $(FUZZ_SECONDS) build-fuzz

# Windows: tarvik.exe, a portable zip and an installer in build-windows/,
# cross-built against a static Qt that the first run builds once into
# ~/.cache/tarvik (docs/BUILDING.md says how long); later runs take minutes. A new Qt (another
# configuration) starts the build folder afresh. Made on Debian 13 only:
# elsewhere it stops at once and says how. Debian's Qt source leaves a
# program's plugins to be named one by one; a static program needs them all.
WINDOWS_DIR ?= build-windows
windows:
	@tools/windows/static-qt.sh --supported
	@$(MAKE) build
	@tools/install-deps.sh g++-mingw-w64-x86-64-posix ninja-build wine wine64 fonts-wine nsis icoutils
	@qt=$$(tools/windows/static-qt.sh) && \
		if ! grep -qsx "Qt6_DIR:PATH=$$qt/lib/cmake/Qt6" $(WINDOWS_DIR)/CMakeCache.txt; then \
			rm -rf $(WINDOWS_DIR); fi && \
		cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/tools/windows/mingw-w64.cmake -DCMAKE_PREFIX_PATH="$$qt" \
		-DQT_HOST_PATH=/usr -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF \
		-DTARVIK_HOST_BUILD=$(CURDIR)/$(BUILD_DIR) >/dev/null
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)
	@cd $(WINDOWS_DIR) && cpack >/dev/null && ls -1 $(CURDIR)/$(WINDOWS_DIR)/tarvik-*-win64.*

# The unit and window suites under Wine, and the real tarvik.exe, its zip and
# its installer under Wine on a private Xvfb.
test-windows: windows
	@cd $(WINDOWS_DIR) && ctest --output-on-failure -j $(JOBS)

# The browser build: a static site in build-web/tarvik-<version>-web/ and its
# zip, served on http://127.0.0.1:$(PORT)/ until Ctrl+C.
WEB_DIR ?= build-web
PORT ?= 8000
web: web-site
	@cd $(WEB_DIR)/tarvik-*-web && echo "Tarvik in the browser: http://127.0.0.1:$(PORT)/ (Ctrl+C stops it)" && \
		exec python3 -m http.server --bind 127.0.0.1 $(PORT) 2>/dev/null

web-site:
	@tools/install-deps.sh emscripten node-terser zip python3
	@emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
	@cmake --build $(WEB_DIR) -j $(JOBS)
	@ls -1 $(CURDIR)/$(WEB_DIR)/tarvik-*-web.zip

# A release in dist/: the source tarball, the Debian package, the Windows zip and
# installer, the browser zip and SHA256SUMS, built from a clean copy of the
# commit, the same bytes on every run. check-release builds it twice, under
# different conditions, and compares.
release:
	@tools/release.sh dist $(SIGN)

check-release:
	@tools/check-release.sh

clean:
	@rm -rf $(BUILD_DIR) build-asan build-fuzz $(WINDOWS_DIR) $(WEB_DIR)
