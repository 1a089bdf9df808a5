# make run   install what is missing, build, start Harkener
# make test  install what is missing, build, run every test
# make bench install what is missing, build optimised, run the four benchmarks and write
#            bench/RESULTS.md (needs root for its namespace LAN)
# make fuzz  build the fuzz targets with clang and run each for FUZZ_SECONDS (FUZZ_RUNS
#            caps the executions; 0 = no cap)
# make sanitize-asan / sanitize-tsan  the core test suite, integration included, under
#            the address+undefined or the thread sanitizer
# make ci-extra  a short fuzz run of every target and both sanitizer suites (CI)
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean bench fuzz fuzz-build fuzz-smoke sanitize-asan sanitize-tsan ci-extra

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/src/app/harkener

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)

BENCH_BUILD ?= build-bench
BENCH_TARGETS = harkener harkener-scan bench_answers bench_gui bench_responder bench_measure benchfirstpaint \
	bench_qt_floor

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target $(BENCH_TARGETS)
	@bench/run.sh $(BENCH_BUILD) bench/RESULTS.md

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_RUNS ?= 0
FUZZ_TARGETS ?= datagram infostring netmask zlib picture
# A sanitizer report fails the test that caused it.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

fuzz-build: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))

fuzz: fuzz-build
	@nice -n 10 fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_RUNS) $(FUZZ_TARGETS)

fuzz-smoke:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=20

sanitize-asan: deps
	@cmake -S . -B build-asan -G Ninja -DHARKENER_CORE_ONLY=ON "-DHARKENER_SANITIZE=address;undefined" >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

sanitize-tsan: deps
	@cmake -S . -B build-tsan -G Ninja -DHARKENER_CORE_ONLY=ON -DHARKENER_SANITIZE=thread >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

ci-extra: fuzz-smoke sanitize-asan sanitize-tsan
