# make run  - install what is needed, build, and start Foliant
# make test - install what is needed, build, and run every test (each fuzz
#             target for TEST_FUZZ_SECONDS, default 30, first; then the
#             window's widget tests WIDGET_REPEAT times, default 5, each
#             until it fails, so a test that fails now and then is caught)
# make stress - build and run the whole suite STRESS_RUNS times (default 5),
#             stopping at the first failure: for changes to timing-sensitive code
# make deb  - build the Debian package build/release/package/foliant_*.deb
# make fuzz - build the libFuzzer targets (clang) and run each for a bounded
#             time (FUZZ_SECONDS, default 60) from its seed corpus
PRESET_RUN ?= release
PRESET_TEST ?= ci

.PHONY: setup run test stress deb fuzz build-run build-test

setup:
	bash tools/setup

build-run: setup
	cmake --preset $(PRESET_RUN)
	cmake --build --preset $(PRESET_RUN)

run: build-run
	./build/$(PRESET_RUN)/bin/foliant

build-test: setup
	cmake --preset $(PRESET_TEST)
	cmake --build --preset $(PRESET_TEST)

# Every test run also fuzzes each target for a short, bounded time first, so
# ctest's summary stays the last thing printed.
TEST_FUZZ_SECONDS ?= 30
WIDGET_REPEAT ?= 5
test: build-test
	$(MAKE) fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET_TEST) -L widget --repeat until-fail:$(WIDGET_REPEAT) --timeout 600
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET_TEST) --timeout 1200

STRESS_RUNS ?= 5
stress: build-test
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET_TEST) --repeat until-fail:$(STRESS_RUNS) --timeout 1200

deb: build-run
	cpack --config build/$(PRESET_RUN)/CPackConfig.cmake -B build/$(PRESET_RUN)/package

FUZZ_SECONDS ?= 60
fuzz: setup
	cmake --preset fuzz -DFOLIANT_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz --target fuzz
