# The two commands a newcomer needs: `make run` and `make test`. See README.md.
BUILD  ?= build
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all bootstrap configure build run test bench install clean

all: build

bootstrap:
	@./scripts/bootstrap

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: bootstrap $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the utility on the built-in simulated devices.
run: build
	@./scripts/run $(BUILD)

# Without a display the tests that need an X server run under a virtual one (xvfb-run).
XVFB := $(if $(DISPLAY),,$(shell command -v xvfb-run >/dev/null 2>&1 && echo xvfb-run -a))

test: build
	cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benches
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done

# Installs the program, its data and the udev rule under PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD)
