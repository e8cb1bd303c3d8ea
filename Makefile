# make run  : install what is missing, build, start Swiftlane (with the gate simulator when no gates are attached)
# make test : install what is missing, build, run every test headless
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: run test build deps bench asan-test clean

run: build
	scripts/run.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

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

clean:
	rm -rf build build-asan build-release
