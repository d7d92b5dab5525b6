# make         install what is missing, build uninstall.exe for i686 and x86_64
# make test    build, then run every test under Wine in the project's own prefix
# make demo    build, then a whole set-up and uninstall of a sample installation
# make bench   benchmarks against references in the same run; writes docs/benchmarks.md
BUILD ?= build
ARCHES = i686 x86_64
JOBS ?= 2
MAKEFLAGS += --no-print-directory
export BRAMIX_BUILD := $(abspath $(BUILD))

.PHONY: all deps build test demo bench clean lngtool $(ARCHES)

all: build

deps:
	@./tools/install-deps.sh

build: deps $(ARCHES) lngtool

$(ARCHES):
	@cmake -S . -B $(BUILD)/$@ -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-$@.cmake >/dev/null
	@cmake --build $(BUILD)/$@ -j $(JOBS)

# The translator's kit, a host program.
lngtool:
	@cmake -S tools/lngtool -B $(BUILD)/lngtool >/dev/null
	@cmake --build $(BUILD)/lngtool -j $(JOBS)

test: build
	@./tools/run-tests.sh $(ARCHES)

demo: build
	@./tools/demo.sh

bench:
	@./tools/bench.sh

clean:
	@./tools/prefix.sh stop || true
	rm -rf $(BUILD)
