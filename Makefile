# The two commands a newcomer needs: `make run` and `make test`. See README.md.
BUILD  ?= build
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=
# Developer builds treat warnings as errors; `make WERROR=OFF` builds like a packager's build.
WERROR ?= ON

.PHONY: all bootstrap configure build run test bench fuzz soak install deb clean

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

# Coverage-guided fuzzing: the fuzz targets built with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of their own, each run FUZZ_SECONDS with the committed
# corpus as seed. An input that fails is written into that corpus (see README.md).
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 300
fuzz: bootstrap
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	    -DZQ_LIBFUZZER=ON -DZQ_WITH_QT=OFF -DZQ_WITH_BENCH=OFF -DZQ_WERROR=$(WERROR) \
	    -DZQ_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=fuzzer-no-link"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The soak: the program on its simulated devices, driven through zq70ctl with random page actions, plugs,
# unplugs, device reports and faults for SOAK_SECONDS; then its memory and every file it wrote are
# checked (scripts/soak says how). SOAK_SEED=N replays the choices of an earlier run.
SOAK_SECONDS ?= 600
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target zephran-q70 zq_default_files zq70ctl zq70-soak-check
	SOAK_SECONDS=$(SOAK_SECONDS) $(if $(SOAK_SEED),SOAK_SEED=$(SOAK_SEED)) scripts/soak $(BUILD)

# Installs the program, its data and the udev rule under PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of what `make install` installs, into /usr: $(BUILD)/zephran-q70_<version>_<arch>.deb.
deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
