# Kvader: `make test` and `make play` set up everything they need on a Debian machine.

PRESETS      := native native-asan fuzz win64 win32
# What building and playing the game needs, and no more (make play).
PLAY_PACKAGES := cmake ninja-build g++-mingw-w64-x86-64-posix wine64 fonts-wine
# Everything make test needs: every build, the tests, the tools.
PACKAGES     := $(PLAY_PACKAGES) g++ googletest libgtest-dev libbenchmark-dev binutils \
                clang libclang-rt-dev mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
                xvfb xauth xdotool imagemagick python3 libcli11-dev clang-format clang-tidy valgrind locales \
                gcovr
# The 32-bit Wine, for the 32-bit build's tests, where the kernel runs 32-bit programs,
# its loader (KVADER_WINE32 names another, as for tools/wine-run), and where `make deps`
# writes apt's reason when it cannot install it (tools/install-packages --optional).
WINE32_PACKAGES := wine32:i386
WINE32       := $(or $(KVADER_WINE32),/usr/lib/wine/wine)
DEPS_STATE   := $(or $(KVADER_DEPS_STATE),$(CURDIR)/build/deps)
WINE32_REFUSED := $(DEPS_STATE)/wine32-refused
# The virtual display of the Windows tests: room for the versus window at 192 DPI;
# xvfb-run takes the first free display from KVADER_FIRST_DISPLAY (99) on.
SCREEN       := -screen 0 1600x1200x24
XVFB         := xvfb-run -a -n $(or $(KVADER_FIRST_DISPLAY),99) -s "$(SCREEN)"
# Ends the Wine servers of the tests' prefixes (64-bit and 32-bit).
stop_wine    = for prefix in $(CURDIR)/build/win64/wineprefix $(CURDIR)/build/win32/wineprefix; do \
	    [ -d $$prefix ] && WINEPREFIX=$$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1; done; true

.PHONY: all deps build format-check lint docs-check test test-win32 coverage test-debian13 golden fuzz bench results play dist clean

# Configures preset $(1) unless its build folder already is.
configure = [ -f build/$(1)/CMakeCache.txt ] || cmake --preset $(1)

all: build

# Installs those of the Debian packages $(1) that are missing, waiting for another apt.
install = tools/install-packages $(1)

# The 32-bit Wine only where the kernel runs 32-bit programs (tools/runs-32bit tries
# one: 0 it runs them, 1 the kernel refuses them, anything else it could not tell), and
# only if apt can: when the archive cannot give it, deps says why and goes on, and
# make test runs the 32-bit tests that need no Wine. Every other package must install.
deps:
	@$(call install,$(PACKAGES))
	@tools/runs-32bit >/dev/null; case $$? in \
	    0) tools/install-packages --optional $(notdir $(WINE32_REFUSED)) $(WINE32_PACKAGES) || exit 1; \
	       [ ! -f $(WINE32_REFUSED) ] || echo "== deps: the 32-bit Wine could not be installed," \
	           "so make test will not run the 32-bit game under Wine: $$(cat $(WINE32_REFUSED))";; \
	    1) ;; \
	    *) exit 1;; \
	esac

build: deps
	@for p in $(PRESETS); do \
	    $(call configure,$$p) || exit 1; \
	    cmake --build --preset $$p || exit 1; \
	done

# Fails on C++ that the project's .clang-format would change.
format-check: deps
	@echo "== format"; clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

# Fails on any finding of clang-tidy (the checks in .clang-tidy) in the core, the
# simulator, the benchmarks and the Windows front end.
lint: build
	@tools/lint build/native build/win64

# Holds the README, docs/ and the manual to the code where a machine can tell (tools/check-docs;
# docs/testing.md says what it checks, and that prose figures and what a test does are left
# to people), after make build: make test runs it without building again.
check_docs   = echo "== documents"; tools/check-docs build/native/kvader-sim build $(PRESETS)
docs-check: build
	@$(check_docs)

# Runs every test of every build. The 32-bit build's tests run under the 32-bit Wine;
# on a kernel that refuses 32-bit programs only those that need no Wine run, and the
# run says so (KVADER_REQUIRE_32BIT=1 makes that a failure).
test: build
	@rc=0; \
	$(MAKE) --no-print-directory format-check || rc=1; \
	tools/lint build/native build/win64 || rc=1; \
	$(check_docs) || rc=1; \
	for p in native native-asan fuzz; do \
	    echo "== tests: $$p"; ctest --preset $$p || rc=1; \
	done; \
	$(stop_wine); \
	echo "== tests: win64 (wine64 in a virtual display)"; \
	$(XVFB) ctest --preset win64 || rc=1; \
	$(MAKE) --no-print-directory test-win32 || rc=1; \
	$(stop_wine); \
	exit $$rc

# The 32-bit build's tests, after make build: under the 32-bit Wine in a virtual
# display where it can run them. Where it cannot (the kernel refuses 32-bit programs,
# or runs them but the 32-bit Wine is not installed) only the tests that need no Wine
# run, and the run says "win32 NOT RUN" and why (KVADER_REQUIRE_32BIT=1 makes that a
# failure). A kernel that cannot tell whether it runs them fails the run.
test-win32:
	@tools/runs-32bit; runs32=$$?; \
	if [ $$runs32 = 0 ] && [ -x $(WINE32) ]; then \
	    echo "== tests: win32 (the 32-bit Wine in a virtual display)"; \
	    $(XVFB) ctest --preset win32; rc=$$?; $(stop_wine); exit $$rc; \
	elif [ $$runs32 = 1 ]; then \
	    why="this kernel refuses 32-bit programs"; \
	elif [ $$runs32 = 0 ]; then \
	    why="the kernel runs 32-bit programs, but the 32-bit Wine $(WINE32) is missing"; \
	    [ ! -f $(WINE32_REFUSED) ] || why="$$why: apt could not install it: $$(cat $(WINE32_REFUSED))"; \
	else \
	    echo "== tests: win32 FAILED: whether this machine runs 32-bit programs is unknown"; exit 1; \
	fi; \
	echo "== tests: win32 NOT RUN: $$why."; \
	echo "   The 32-bit build was only compiled and linked, and only its tests that need no Wine"; \
	echo "   ran (set KVADER_REQUIRE_32BIT=1 to make this a failure)"; \
	rc=0; ctest --preset win32 --label-exclude wine || rc=1; \
	[ "$${KVADER_REQUIRE_32BIT:-0}" = 0 ] || { echo "KVADER_REQUIRE_32BIT=1: the 32-bit game must be tested"; rc=1; }; \
	exit $$rc

# What the tests reach: the host build's tests and the 64-bit build's under Wine, from
# builds with gcov's counters; per-file lines and branches, as text and HTML, in
# build/coverage/ (tools/coverage-report), failing when a folder falls below its floor.
coverage: deps
	@$(call configure,coverage-host)
	@$(call configure,coverage-win64)
	cmake --build --preset coverage-host
	cmake --build --preset coverage-win64
	@find build/coverage-host build/coverage-win64 -name '*.gcda' -delete
	@$(stop_wine)
	@rc=0; ctest --preset coverage-host || rc=1; \
	$(XVFB) ctest --preset coverage-win64 || rc=1; \
	$(stop_wine); \
	[ $$rc = 0 ] || { echo "== coverage: a test failed"; exit 1; }
	tools/coverage-report build/coverage-host build/coverage-win64

# make test on a fresh Debian 13 (Wine 10) made from Debian's archive, with the
# committed HEAD (tools/test-debian13: root, as CI runs it, and a kernel that lets it
# make user namespaces). CI runs it after make test.
test-debian13:
	tools/test-debian13

# Rewrites every recorded file in tests/golden: the simulator's from the host build,
# the session of the main window from the 64-bit build under Wine. Right only after
# an intended change of behaviour: review the difference and explain it in the commit.
golden: deps
	@$(call configure,native)
	@$(call configure,win64)
	cmake --build --preset native
	cmake --build --preset win64
	cd build/native && python3 ../../tests/sim_test.py --golden "$$PWD/kvader-sim"
	@$(stop_wine)
	cd build/win64 && $(XVFB) sh -c 'for run in "Session.RecordedInputs*" \
	        "Session.RecordedLayout* KVADER_CODE_PAGE=1250 KVADER_DPI=120" \
	        "Session.RecordedLayout* KVADER_DPI=144" "Session.RecordedLayout* KVADER_DPI=168" \
	        "Session.RecordedLayout* KVADER_DPI=192"; do \
	    set -- $$run; filter=$$1; shift; env "$$@" \
	    ../../tools/wine-run tests/kvader_shell_tests.exe --gtest_filter="$$filter" --golden || exit 1; done'
	@$(stop_wine)

# The fuzz targets for as long as asked: make fuzz FUZZ_SECONDS=3600 (each target
# in turn; what they find is kept in build/fuzz/fuzz-work for the next run).
FUZZ_SECONDS ?= 600
fuzz: deps
	@$(call configure,fuzz)
	cmake --build --preset fuzz
	@for t in brick_file board; do \
	    echo "== fuzz: $$t for $(FUZZ_SECONDS) s"; \
	    mkdir -p build/fuzz/fuzz-work/$$t; \
	    build/fuzz/fuzz/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	        -artifact_prefix=build/fuzz/ build/fuzz/fuzz-work/$$t fuzz/corpus/$$t || exit 1; \
	done

# Figures for the computer player's speed, from an optimised host build, each beside
# its goal. Every benchmark runs ten times and the best run counts: other guests of
# a shared machine slow runs down, never speed them up.
bench: deps
	@$(call configure,bench)
	cmake --build --preset bench --target kvader_bench kvader_count
	cd build/bench && ./kvader_bench --benchmark_repetitions=10 --benchmark_min_time=0.1
	@echo; cd build/bench && ../../tools/count-instructions ./kvader_count

# How well the computer plays: kvader-sim for every selection, the table for the
# simulator's page (build/results/table.md) and the plot docs/results.png.
results: deps
	@$(call install,gnuplot-nox)
	@$(call configure,bench)
	cmake --build --preset bench --target kvader-sim
	mkdir -p build/results
	python3 tools/results.py build/bench/kvader-sim build/results > build/results/table.md
	cp build/results/results.png docs/results.png
	@cat build/results/table.md

# Builds the 64-bit game alone (build/play) and starts it under wine64 in this
# display, from the folder that holds kvader.dat and the manual. Installs only what
# that needs.
play:
	@$(call install,$(PLAY_PACKAGES))
	@$(call configure,play)
	cmake --build --preset play
	tools/play build/play

# The 32-bit release: kvader.exe, kvader.dat and the manual in one zip, the same
# bytes from the same commit, with its SHA-256 sum beside it.
dist: deps
	@$(call configure,win32)
	cmake --build --preset win32 --target kvader
	mkdir -p build/dist
	tools/pack-release build/win32 build/dist/kvader-win32.zip

clean:
	-@$(stop_wine)
	rm -rf build
