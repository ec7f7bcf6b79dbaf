# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

# Where the section map's boundary data lives (scripts/install-deps puts it
# there); every configure passes it on to CMake.
ifeq ($(strip $(FIELDDAY_MAPDATA)),)
FIELDDAY_MAPDATA = /usr/local/share/fieldday-mapdata
endif
export FIELDDAY_MAPDATA
CONFIGURE = cmake -DFIELDDAY_MAPDATA="$(FIELDDAY_MAPDATA)"

.PHONY: run test deps deps-run build build-tests fuzz-build fuzz crash-soak soak-peers asan clean

# What building and running the program needs; `deps` adds what the tests,
# the fuzz build and the map's generator need.
deps-run:
	bash scripts/install-deps run

deps:
	bash scripts/install-deps test

build: deps-run
	$(CONFIGURE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DFIELDDAY_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target program

run: build
	cd $(BUILD_DIR)/program && if [ -n "$$DISPLAY" ]; then export QT_QPA_PLATFORM=xcb; fi && ./fieldday

build-tests: deps
	$(CONFIGURE) -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DFIELDDAY_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The fuzz targets: clang with libFuzzer and the sanitizers, a build of their own.
fuzz-build: deps
	cmake -S fuzz -B $(BUILD_DIR)/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR)/fuzz -j $(JOBS)

test: build-tests fuzz-build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_RUNS executions over its seeds.
FUZZ_RUNS ?= 10000000
fuzz: fuzz-build
	@for t in $(BUILD_DIR)/fuzz/fuzz_*; do \
	  [ -f "$$t" ] && [ -x "$$t" ] || continue; n=$$(basename $$t); echo "== $$n"; \
	  bash fuzz/run.sh $$t fuzz/seeds/$${n#fuzz_} RUNS=$(FUZZ_RUNS) || exit 1; \
	done

# The crash-safety run at length: 1000 kills (about 100 edits among the steps).
crash-soak: build-tests
	FD_KILLS=1000 QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/test_log --gtest_filter='CrashSafety*'

# Hostile peers against the real windows, each for SOAK_SECONDS: a telnet
# cluster that never ends a line, an AGW engine announcing a 4 GB frame, a
# radio babbling at 56000 baud. Prints each peer's highest memory and longest
# event-loop stall.
SOAK_SECONDS ?= 60
soak-peers: build-tests
	@log=$(BUILD_DIR)/soak-peers.log; rm -f $$log; rc=0; \
	export FD_SOAK_SECONDS=$(SOAK_SECONDS) QT_QPA_PLATFORM=offscreen; \
	$(BUILD_DIR)/test_spots --gtest_filter='HostilePeer.*' >>$$log 2>&1 || rc=1; \
	$(BUILD_DIR)/test_rig --gtest_filter='HostileRadio.*' >>$$log 2>&1 || rc=1; \
	if [ $$rc -ne 0 ]; then cat $$log; echo "soak-peers: FAILED (log: $$log)"; exit 1; fi; \
	grep -A1 '^\[soak\]' $$log | grep -v '^--'

# The keying and log-output tests under AddressSanitizer and UBSan (gcc), a
# build of their own in $(BUILD_DIR)/asan; not part of `make test`. Any sanitizer report,
# leaks included, fails the run. The vptr check is off: under it gcc 12
# miscompiles a lambda that captures this inside a [&] lambda (the WinKey
# window's boxes), which then crashes where the plain build and clang's run
# correctly.
ASAN_DIR = $(BUILD_DIR)/asan
ASAN_FLAGS = -fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer -fno-sanitize-recover=undefined
asan: deps
	$(CONFIGURE) -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIELDDAY_TESTS=ON \
	  -DCMAKE_CXX_FLAGS="$(ASAN_FLAGS)" -DCMAKE_C_FLAGS="$(ASAN_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(ASAN_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(ASAN_FLAGS)"
	cmake --build $(ASAN_DIR) -j $(JOBS) --target test_keying test_output
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ./test_keying
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ./test_output

clean:
	rm -rf $(BUILD_DIR)
