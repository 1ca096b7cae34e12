# Zorvant: `make play` builds and starts the game, `make test` builds and runs
# every test. Both install what they need on a Debian 12 machine first.

ROOT := $(CURDIR)
BUILD ?= $(ROOT)/build
JOBS ?= $(shell nproc)
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory

.PHONY: all deps build play test bench fuzz soak clean

all: build

deps:
	@tools/install-deps.sh
	@BUILD=$(BUILD) tools/fetch-qemu.sh

# Three trees: the shipped 32-bit program and the same sources for 64-bit
# Windows, each with the Windows tests, and the host tools.
build: deps
	@cmake -S . -B $(BUILD)/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/host -j $(JOBS)
	@cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-i686-mingw.cmake -DZORVANT_TESTS=ON >/dev/null
	@cmake --build $(BUILD)/win32 -j $(JOBS)
	@cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-x86_64-mingw.cmake >/dev/null
	@cmake --build $(BUILD)/win64 -j $(JOBS)

test: build
	@BUILD=$(BUILD) tools/run-tests.sh

play: build
	@tools/play.sh

# Every benchmark of the project, printed as one table.
bench: build
	@BUILD=$(BUILD) tools/bench.sh

# A longer fuzzing run of the decoder and the skin container parser.
fuzz: deps
	@BUILD=$(BUILD) tools/fuzz.sh

# 200 games in a row through the automatic player.
soak: build
	@BUILD=$(BUILD) tools/soak.sh

clean:
	rm -rf $(BUILD)
