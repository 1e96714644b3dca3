# Kavrel: build, run and test from a fresh Debian 12 machine.
#   make run    builds everything, makes the dictionaries and starts kavrel.exe under Wine
#   make test   builds everything and runs the native tests (also under sanitizers), each
#               fuzz target for a few seconds, and the Windows (Wine) tests
#   make bench  runs the benchmarks, natively and under Wine (figures in build/bench.json), and
#               the download's throughput against curl (build/bench-download.json)
#   make fuzz   runs every fuzz target for FUZZ_SECONDS seconds (default 60)
#   make dist   writes the portable zip and the installer to build/dist
SHELL := /bin/bash
JOBS ?= 2
NATIVE := build/native
WIN32 := build/win32
ASAN := build/asan
FUZZ := build/fuzz
CLANG := clang++-14
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 4

.PHONY: all setup build native win32 asan fuzz-build fuzz dictionaries run screenshot dist test bench clean

all: build

setup:
	@scripts/setup.sh

build: setup native win32

native:
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release -DKAVREL_WERROR=ON >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

win32:
	@cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release -DKAVREL_WERROR=ON \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake \
	  -DKAVREL_NATIVE_TOOL=$(CURDIR)/$(NATIVE)/kavrel-tool \
	  -DKAVREL_DICTIONARY_DIR=$(CURDIR)/build/run >/dev/null
	@cmake --build $(WIN32) -j$(JOBS)

# The native tests again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: setup
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANG) \
	  -DKAVREL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j$(JOBS)

fuzz-build: setup
	@cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANG) \
	  -DKAVREL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j$(JOBS)

fuzz: fuzz-build
	@cd $(FUZZ) && KAVREL_FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --output-on-failure -j$(JOBS); \
	status=$$?; cat logs/*.summary; exit $$status

dictionaries: setup native
	@scripts/make-dictionaries.sh build/run

run: build dictionaries
	@scripts/run.sh build/run

screenshot: build dictionaries
	@KAVREL_DIRECTION_UP=2 scripts/screenshot.sh docs/screenshot.png ev
	@KAVREL_CODEPAGE=1252 KAVREL_DIRECTION_UP=1 scripts/screenshot.sh docs/screenshot-cp1252.png sun
	@KAVREL_DPI=144 KAVREL_DIRECTION_UP=2 scripts/screenshot.sh docs/screenshot-144dpi.png ev

dist: build dictionaries
	@scripts/make-dist.sh build/dist

test: build dictionaries dist asan fuzz-build
	@status=0; \
	echo "== native tests"; \
	(cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)) || status=1; \
	echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"; \
	(cd $(ASAN) && ctest --output-on-failure -j$(JOBS)) || status=1; \
	echo "== fuzz targets, $(FUZZ_TEST_SECONDS) s each"; \
	(cd $(FUZZ) && KAVREL_FUZZ_SECONDS=$(FUZZ_TEST_SECONDS) ctest --output-on-failure -j$(JOBS) && \
	  cat logs/*.summary) || status=1; \
	echo "== Windows tests under Wine"; \
	(cd $(WIN32) && ctest --output-on-failure -j$(JOBS)) || status=1; \
	exit $$status

bench: build dictionaries
	@scripts/bench.sh
	@scripts/bench-download.sh

clean:
	rm -rf build
