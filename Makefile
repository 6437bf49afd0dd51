# Front door of the build: installs what is missing, configures with CMake, builds, runs.
BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 20
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  ?=

.PHONY: all deps configure build run screenshots test asan bench bench-cpu fuzz package install-test clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

screenshots: build
	@bash scripts/screenshots.sh $(BUILD)

test: build
	@bash scripts/run-tests.sh $(BUILD)

asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNV_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		bash scripts/run-tests.sh $(ASAN_BUILD)

bench: build
	@$(BUILD)/bench/nuvro-bench $(BENCH_ARGS)

# The agent's CPU at 1000 reports a second against the one-wake-up floor (needs perf).
bench-cpu: configure
	@cmake --build $(BUILD) -j $(JOBS) --target nv_agent_cpu
	@dbus-run-session -- python3 bench/agent-cpu/run.py $(BUILD) $(BENCH_CPU_ARGS)

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNV_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls "$$PWD"/package/*.deb

# Installs the package on this machine with dpkg, runs it from /opt, removes and purges it:
# meant for a disposable machine.
install-test: package
	@bash scripts/install-test.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
