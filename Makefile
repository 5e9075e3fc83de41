# The two commands a newcomer needs: `make run` and `make test`. See README.md.
BUILD  ?= build
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=
# Developer builds treat warnings as errors; `make WERROR=OFF` builds like a packager's build.
WERROR ?= ON

.PHONY: all bootstrap configure build run test bench install deb clean

all: build

bootstrap:
	@./scripts/bootstrap

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DZQ_WERROR=$(WERROR) $(CMAKE_FLAGS)

# A build folder configured before (or with the other WERROR) is set to this one's.
configure: bootstrap $(BUILD)/CMakeCache.txt
	@grep -q '^ZQ_WERROR:BOOL=$(WERROR)$$' $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DZQ_WERROR=$(WERROR)

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

# The Debian package of what `make install` installs, into /usr: $(BUILD)/zephran-q70_<version>_<arch>.deb.
deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
