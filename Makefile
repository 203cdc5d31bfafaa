# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: deps configure build run test asan fuzz clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

# The demo survey in the application; without a display, its picture instead.
run: build
	@if [ -n "$$DISPLAY" ]; then $(BUILD)/bin/korvex --demo; \
	else $(XVFB) $(BUILD)/bin/korvex --demo --export $(BUILD)/demo.png; fi

test: build
	cd $(BUILD) && $(XVFB) ctest --output-on-failure

# The whole suite built and run with AddressSanitizer and UndefinedBehaviorSanitizer.
# Leak detection is off: the GL driver, D-Bus and fontconfig keep allocations for the
# life of the process, and those reports would drown everything else.
asan: export ASAN_OPTIONS = detect_leaks=0
asan: export UBSAN_OPTIONS = print_stacktrace=1:halt_on_error=1
asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON"

# Every fuzzer for FUZZ_SECONDS each, in its own clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer; fails on any finding. Only what the fuzzers link is built.
FUZZ_SECONDS ?= 60
fuzz:
	./scripts/install-deps.sh --fuzz
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-fuzz --target fuzzers -j2
	./fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-asan build-fuzz
