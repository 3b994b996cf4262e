# The two commands a newcomer types:
#   make run    builds the program and starts it on the bundled (synthetic) sample data set
#   make test   builds everything and runs every test
# Both first install whatever system packages are missing (Debian, apt-get).

PRESET   ?= default
BUILD    := build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
WERROR   := $(if $(CI),ON,OFF)
# CI needs line tables for its stack traces, not the full debug information a debugger reads;
# without it the builds take a good part less time. The code is the same either way.
DEBUGINFO := $(if $(CI),-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG",)

.PHONY: all deps configure build run test package asan-test bench fuzz fuzz-build fuzz-smoke format format-check clean

all: build

deps:
	@./tools/install-deps.sh

configure: deps
	@cmake --preset default -DFETALDOSE_WERROR=$(WERROR) $(DEBUGINFO) >/dev/null

build: configure
	@cmake --build --preset default -j $(JOBS)

run: build
	@./tools/run-program.sh $(BUILD)/run $(BUILD)/src/app/fetaldose

# Every test, then a short run of each fuzz target from its seeds.
test: build
	@ctest --preset default -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz-smoke

# The Debian package build/fetaldose_<version>_amd64.deb (see packaging/).
package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@ls $(BUILD)/fetaldose_*.deb

asan-test: deps
	@cmake --preset asan -DFETALDOSE_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

FUZZ_SECONDS ?= 300

fuzz-build: deps
	@cmake --preset fuzz $(DEBUGINFO) >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

fuzz: fuzz-build
	@./tools/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# A short run of each target, enough to catch a regression on the seeds and near them; the
# fixed seed makes it the same run every time on a fresh checkout.
FUZZ_SMOKE_SECONDS ?= 8

fuzz-smoke: fuzz-build
	@./tools/run-fuzzers.sh build-fuzz $(FUZZ_SMOKE_SECONDS) -seed=1

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS)
	@./tools/run-benchmarks.sh build-bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails on any source file that `make format` would change.
format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf build build-asan build-bench build-fuzz
