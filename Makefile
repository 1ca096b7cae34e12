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

# Three trees: the shipped 32-bit program, the 64-bit build that the tests run
# under wine64, and the host tools.
CONFIG_host := -DCMAKE_BUILD_TYPE=RelWithDebInfo
CONFIG_win32 := -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-i686-mingw.cmake -DZORVANT_TESTS=OFF
CONFIG_win64 := -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-x86_64-mingw.cmake
# $(call tree,NAME[,TARGETS]): configures the tree and builds the targets
# (everything when none are named).
tree = cmake -S . -B $(BUILD)/$(1) $(CONFIG_$(1)) >/dev/null && \
	cmake --build $(BUILD)/$(1) -j $(JOBS) $(if $(2),--target $(2))

build: deps
	@$(call tree,host)
	@$(call tree,win32)
	@$(call tree,win64)

test: build
	@BUILD=$(BUILD) tools/run-tests.sh

# Playing needs the asset tools and, from the tree that runs, the game and the
# automatic player: no test program.
play: deps
	@$(call tree,host,pack make_skin make_assets score_read)
	@$(call tree,win64,zorvant autoplay)
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
