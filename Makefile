# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-tests clean

deps:
	bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DFIELDDAY_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target program

run: build
	cd $(BUILD_DIR)/program && if [ -n "$$DISPLAY" ]; then export QT_QPA_PLATFORM=xcb; fi && ./fieldday

build-tests: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DFIELDDAY_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build-tests
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
