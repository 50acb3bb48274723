# `make run`: install what is missing, configure, build and start the program.
# `make test`: install what is missing, configure, build and run every test.
BUILD ?= build
JOBS ?= $(shell nproc)
BUILD_TYPE ?= RelWithDebInfo
EXE = $(BUILD)/bundle/Quorvane Reelsplice.app/Contents/MacOS/QuorvaneReelsplice

.PHONY: all deps configure build run test bench format clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	"$(EXE)"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
