# Zorvant: `make play` builds and starts the game, `make test` builds and runs
# every test. Both install what they need on a Debian 12 machine first.

ROOT := $(CURDIR)
BUILD ?= $(ROOT)/build
JOBS ?= $(shell nproc)
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory

.PHONY: all deps build play test bench fuzz soak dist clean

all: build

# $(call deps,SET): the Debian packages of SET (tools/install-deps.sh) and
# the libpng sources that the Windows trees build. Where Wine runs, the
# emulator too, fetched only where the kernel runs no 32-bit code. Nothing
# else is fetched or installed, and configuring a tree never does either.
deps = tools/install-deps.sh $(1) && tools/fetch-libpng.sh $(BUILD)/libpng
emulator = BUILD=$(BUILD) tools/fetch-qemu.sh

# Everything, for the tests, benchmarks, fuzzing and soak.
deps:
	@$(call deps,all) && $(emulator)

# Three trees, as CMakePresets.json defines them: the shipped 32-bit program
# and the same sources for 64-bit Windows, each with the Windows tests unless
# only playing, and the host tools. Each lives in $(BUILD)/<preset>, and the
# Windows trees build the libpng sources that the deps step fetched there.
tests := ON
CONFIG_win32 = -DZORVANT_LIBPNG_SOURCE=$(BUILD)/libpng/src
CONFIG_win64 = $(CONFIG_win32)
# $(call tree,NAME[,TARGETS]): configures the tree and builds the targets
# (everything when none are named).
tree = cmake --preset $(1) -B $(BUILD)/$(1) -DZORVANT_TESTS=$(tests) $(CONFIG_$(1)) >/dev/null && \
	cmake --build $(BUILD)/$(1) -j $(JOBS) $(if $(2),--target $(2))

# The packages for building and testing, not for fuzzing or packing.
build:
	@$(call deps,test) && $(emulator)
	@$(call tree,host)
	@$(call tree,win32)
	@$(call tree,win64)

test: build
	@BUILD=$(BUILD) tools/run-tests.sh

# Playing needs the compilers, Wine, the asset tools, the game and the
# automatic player: no test program, so no test framework either. The
# shipped i686 game is played where the kernel runs 32-bit code itself
# (tools/play.sh), so only there is it built for playing. The kernel is
# asked once, with Wine installed (tools/lib.sh); the emulator's fetch and
# tools/play.sh take the answer.
play: tests = OFF
play:
	@$(call deps,play)
	@$(call tree,host,pack make_skin make_assets score_read)
	@$(call tree,win64,zorvant autoplay)
	@. tools/lib.sh && zorvant_i386 && $(emulator) && \
		if zorvant_native_i386; then $(call tree,win32,zorvant); fi && tools/play.sh

# Every benchmark of the project, printed as one table.
bench: build
	@BUILD=$(BUILD) tools/bench.sh

# Every fuzz target for the same time (FUZZ_SECONDS each), then one table.
FUZZ_SECONDS ?= 300
fuzz:
	@$(call deps,fuzz)
	@BUILD=$(BUILD) JOBS=$(JOBS) tools/fuzz.sh $(FUZZ_SECONDS)

# 200 games in a row through the automatic player: the shipped i686 program
# (TREE=win64 for the x86_64 build).
TREE ?= win32
soak: build
	@BUILD=$(BUILD) TREE=$(TREE) tools/soak.sh

# The archive for Windows players, its debug information beside it and their
# checksums in dist/, checked by a second build in a scratch folder.
dist:
	@$(call deps,dist)
	@BUILD=$(BUILD) JOBS=$(JOBS) tools/dist.sh

clean:
	rm -rf $(BUILD)
