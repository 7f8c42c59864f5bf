# make run  - install what is needed, build, and start Foliant
# make test - install what is needed, build, and run every test
PRESET_RUN ?= release
PRESET_TEST ?= ci

.PHONY: setup run test build-run build-test

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

test: build-test
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET_TEST) --timeout 1200
