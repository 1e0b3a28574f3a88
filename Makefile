# Kvader: `make test` and `make play` set up everything they need on a Debian machine.

PRESETS      := native native-asan win64 win32
PACKAGES     := cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev binutils \
                mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 fonts-wine \
                xvfb xauth xdotool imagemagick python3 libcli11-dev
SUDO         := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
WINEPREFIX   := $(CURDIR)/build/win64/wineprefix

.PHONY: all deps build test bench play dist clean

# Configures preset $(1) unless its build folder already is.
configure = [ -f build/$(1)/CMakeCache.txt ] || cmake --preset $(1)

all: build

# Installs the Debian packages that are missing (apt-get update first, once).
deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	@for p in $(PRESETS); do \
	    $(call configure,$$p) || exit 1; \
	    cmake --build --preset $$p || exit 1; \
	done

# Runs every test of every build that can run here; the 32-bit build is only built.
test: build
	@rc=0; \
	for p in native native-asan; do \
	    echo "== tests: $$p"; ctest --preset $$p || rc=1; \
	done; \
	echo "== tests: win64 (wine64 in a virtual display)"; \
	xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win64 || rc=1; \
	WINEPREFIX=$(WINEPREFIX) /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; \
	exit $$rc

# Figures for the computer player's speed, from the optimised host build.
bench: deps
	@$(call configure,native)
	cmake --build --preset native --target kvader_bench
	cd build/native && ./kvader_bench

# Builds the 64-bit game and starts it under wine64 in this display, from the
# folder that holds kvader.dat and the manual.
play: deps
	@$(call configure,win64)
	cmake --build --preset win64 --target kvader
	tools/play build/win64

# The 32-bit release: kvader.exe, kvader.dat and the manual in one zip.
dist: deps
	@$(call configure,win32)
	cmake --build --preset win32 --target kvader
	mkdir -p build/dist
	rm -f build/dist/kvader-win32.zip
	cd build/win32 && cmake -E tar cf ../dist/kvader-win32.zip --format=zip kvader.exe kvader.dat Manual_CZ.html
	@echo "build/dist/kvader-win32.zip"

clean:
	-WINEPREFIX=$(WINEPREFIX) /usr/lib/wine/wineserver -k >/dev/null 2>&1
	rm -rf build
