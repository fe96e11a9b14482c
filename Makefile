# make demo   installs, builds, lays a demo data root and plays its demo
#             tablature into a MIDI file
# make test   installs, builds, runs every test (and the unit tests again
#             under AddressSanitizer and UndefinedBehaviorSanitizer, and each
#             fuzz target for a few seconds)
# make fuzz   builds the fuzz targets with clang in build-fuzz and runs each
#             for FUZZ_SECONDS (default 60)
# make install   installs the build under PREFIX (default /usr/local; DESTDIR as usual)
# make package   builds the Debian package (build/pavsdi_VERSION_ARCH.deb)
# make bench  builds and runs the benchmarks (timing, start-up, rendering,
#             memory); BENCH_QUICK=1 plays shorter pieces
# make windows   cross-builds the Windows programs into build-windows with
#             mingw-w64 (pavsdiw.exe, the window; pavsdi.exe, devprobe.exe,
#             sonplay.exe, clipsend.exe);
#             make test runs their tests under wine, less the black-box tests
#             of the shared code (label "shared") that make test-windows adds
# make windows-installer   builds build-windows/PavSdi-VERSION-setup.exe
#             with NSIS (a per-user install, without administrator rights)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
DEMO_ROOT ?= $(abspath $(BUILD))/demo-root
PREFIX ?= /usr/local

.PHONY: all deps build build-asan build-fuzz windows windows-installer test test-windows fuzz bench bench-windows demo data install package clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DPAVSDI_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests

windows: deps
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

windows-installer: windows
	@cmake --build $(WINDOWS_BUILD) --target windows_installer

test: build build-asan build-fuzz windows
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS) -LE shared
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -R '^unit$$'
	@FUZZ_SECONDS=8 fuzz/run_fuzz.sh $(FUZZ_BUILD)

# The fuzz targets need clang, which compiles from copies of the sources
# whose French literals are already Windows-1252 (see fuzz/cp1252_sources.py).
build-fuzz: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

test-windows: windows
	@cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

fuzz: build-fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run_fuzz.sh $(FUZZ_BUILD)

bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target bench_timing bench_first_note
	@BENCH_QUICK=$(BENCH_QUICK) /usr/bin/python3 bench/run_bench.py $(BUILD)

# The timing bench of the Windows build, under wine.
bench-windows: windows
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target bench_timing
	@echo "Windows (wine):"
	@BENCH_QUICK=$(BENCH_QUICK) scripts/wine-run $(WINDOWS_BUILD)/bench/bench_timing.exe

data: build
	@FORCE=1 scripts/install-data $(DEMO_ROOT) $(BUILD) 2

# The demo plays on the built-in synthesizer (device 0) where the machine has
# a sound output, otherwise renders into a WAV file (device 1) and says where.
demo: data
	@echo "Racine de démonstration : $(DEMO_ROOT)"
	@PAVSDI_ROOT=$(DEMO_ROOT) $(BUILD)/tools/devprobe
	@if [ "$$(PAVSDI_ROOT=$(DEMO_ROOT) $(BUILD)/tools/devprobe | head -1 | cut -f2)" != 0 ]; \
	  then device=0; else device=1; fi; \
	  printf '%s\r\n' $$device > $(DEMO_ROOT)/orfeon/midiinit.dev; \
	  echo "Tablature : $(DEMO_ROOT)/orfeon/demo.tab (périphérique $$device)"; \
	  PAVSDI_ROOT=$(DEMO_ROOT) PAVSDI_UI=console $(BUILD)/pavsdi '\orfeon\demo.tab'; \
	  if [ $$device = 1 ]; then echo "Fichier WAV écrit : $(DEMO_ROOT)/orfeon/sortie.wav"; \
	  else echo "Joué sur le synthétiseur intégré"; fi

# Not after `build`: `sudo make install` must not build as root.
install:
	@test -x $(BUILD)/pavsdi || { echo "make build first" >&2; exit 1; }
	@cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
