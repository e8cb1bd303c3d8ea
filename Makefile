# make run  : install what is missing, build, start Swiftlane (with the gate simulator when no gates are attached)
# make test : install what is missing, build, run every test headless
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: run test build configure deps bench asan-test package fuzz clean mutation

# Only the two programs it starts: the tests and benchmarks wait for make test and make bench.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target swiftlane swiftlane-gatesim
	scripts/run.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

deps:
	scripts/install-deps.sh

# Benchmarks in an optimised build of their own.
bench: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release -j $(JOBS)
	scripts/run-benchmarks.sh build-release

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test:
	$(MAKE) test BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_FLAGS="-DSWIFTLANE_SANITIZE=ON -DSWIFTLANE_BENCH=OFF $(CMAKE_FLAGS)"

# A Debian package (build/swiftlane_<version>_<arch>.deb) of the application and the simulator.
# What the package needs first: help2man is looked for when the build is configured.
package:
	scripts/install-deps.sh --package
	$(MAKE) build
	cmake --build $(BUILD_DIR) --target package

# Every libFuzzer target for FUZZ_SECONDS each, built with clang, ASan and UBSan in build-fuzz/.
fuzz:
	scripts/install-deps.sh --fuzz
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DSWIFTLANE_FUZZ=ON -DSWIFTLANE_SANITIZE=ON -DSWIFTLANE_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	scripts/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# Plants each fault of tests/mutants.txt in a scratch build (build-mutation/), runs the suite on
# each and reports which faults the tests catch; MUTATION_FLAGS="--only ID,ID" or "--rev REV".
mutation: deps
	python3 scripts/mutation-check.py --jobs $(JOBS) $(MUTATION_FLAGS)

clean:
	rm -rf build build-asan build-release build-fuzz
