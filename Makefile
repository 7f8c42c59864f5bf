# make run  - install what is needed, build, and start Foliant
# make test - install what is needed, build, and run every test (each fuzz
#             target for TEST_FUZZ_SECONDS, default 30, first)
# make deb  - build the Debian package build/release/package/foliant_*.deb
# make fuzz - build the libFuzzer targets (clang) and run each for a bounded
#             time (FUZZ_SECONDS, default 60) from its seed corpus
PRESET_RUN ?= release
PRESET_TEST ?= ci

.PHONY: setup run test deb fuzz build-run build-test

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
test: build-test
	$(MAKE) fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET_TEST) --timeout 1200

deb: build-run
	cpack --config build/$(PRESET_RUN)/CPackConfig.cmake -B build/$(PRESET_RUN)/package

FUZZ_SECONDS ?= 60
fuzz: setup
	cmake --preset fuzz -DFOLIANT_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz --target fuzz
