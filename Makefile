# Convenience front end to the CMake build; see README.md.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
WINDOWS_DIR ?= build-windows
FUZZ_SECONDS ?= 120
FUZZ_CXX ?= clang++-14
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Ninja when it is installed, for a build folder configured for the first
# time; a folder keeps the generator it was first configured with (make test
# may install Ninja after make demo configured build/ for make).
GENERATOR = $(if $(wildcard $(1)/CMakeCache.txt),,$(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja"))
BUILD = cmake --build $(1) --parallel $(JOBS)

.PHONY: build demo test test-packages test-build test-plain test-sanitize windows test-windows fuzz bench sample clean

# Every configure names the parts it wants, so that one build folder serves
# the demo (the converter alone), the tests and the benchmark in turn.
CONFIGURE = cmake -S . -B $(BUILD_DIR) $(call GENERATOR,$(BUILD_DIR)) -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON

# The converter alone: needs a C++ compiler, CMake and make or Ninja.
build:
	$(CONFIGURE) -DZELVANE_TESTS=OFF -DZELVANE_BENCH=OFF
	$(call BUILD,$(BUILD_DIR)) --target zelvane

# Converts the sample house both ways into $(BUILD_DIR)/demo.
demo: build
	rm -rf $(BUILD_DIR)/demo && mkdir -p $(BUILD_DIR)/demo/scene
	cp examples/house.mag $(BUILD_DIR)/demo/house.mag
	cp examples/house.mag $(BUILD_DIR)/demo/scene/house.mag
	$(BUILD_DIR)/zelvane $(BUILD_DIR)/demo/house.mag
	$(BUILD_DIR)/zelvane $(BUILD_DIR)/demo/scene/house.mag -quazo
	@echo
	@echo "OBJ and MTL:          $(BUILD_DIR)/demo/house.obj, $(BUILD_DIR)/demo/house.mtl"
	@echo "scene with its meshes: $(BUILD_DIR)/demo/scene/house.xml and $(BUILD_DIR)/demo/scene/*.obj"

# The whole test suite: a release build, then again under AddressSanitizer
# and UndefinedBehaviorSanitizer. Installs the packages the tests need when
# it may, and otherwise says which to install.
test: test-plain test-sanitize

test-packages:
	tools/ensure_packages.sh test

test-build: test-packages
	$(CONFIGURE) -DZELVANE_TESTS=ON -DZELVANE_BENCH=ON
	$(call BUILD,$(BUILD_DIR))

test-plain: test-build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

test-sanitize: test-packages
	cmake -S . -B $(SANITIZE_DIR) $(call GENERATOR,$(SANITIZE_DIR)) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVANE_WERROR=ON \
	  -DZELVANE_SANITIZE=ON -DZELVANE_TESTS=ON -DZELVANE_BENCH=OFF
	$(call BUILD,$(SANITIZE_DIR))
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j2

# zelvane.exe for 64-bit Windows, cross compiled with MinGW-w64 and linked
# statically: $(WINDOWS_DIR)/zelvane.exe.
windows:
	tools/ensure_packages.sh windows
	cmake -S . -B $(WINDOWS_DIR) $(call GENERATOR,$(WINDOWS_DIR)) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON
	$(call BUILD,$(WINDOWS_DIR)) --target zelvane

# The end-to-end tests of the Linux build run against zelvane.exe under wine.
test-windows: test-build windows
	tests/run_e2e_under_wine.sh $(BUILD_DIR) $(WINDOWS_DIR)/zelvane.exe

# Builds the fuzz target with clang, writes the seed corpus and fuzzes for
# FUZZ_SECONDS. Inputs that found new paths collect in $(FUZZ_DIR)/corpus and
# are reused by the next run; a failing input lands in $(FUZZ_DIR)/findings.
# The full log is $(FUZZ_DIR)/fuzz.log.
fuzz:
	tools/ensure_packages.sh fuzz
	cmake -S . -B $(FUZZ_DIR) $(call GENERATOR,$(FUZZ_DIR)) -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZELVANE_WERROR=ON -DZELVANE_FUZZ=ON -DZELVANE_TESTS=OFF -DZELVANE_BENCH=OFF
	$(call BUILD,$(FUZZ_DIR))
	rm -rf $(FUZZ_DIR)/seeds && $(FUZZ_DIR)/tools/make_fuzz_corpus $(FUZZ_DIR)/seeds
	mkdir -p $(FUZZ_DIR)/corpus $(FUZZ_DIR)/findings
	@echo "fuzzing for $(FUZZ_SECONDS) s"
	@$(FUZZ_DIR)/fuzz/fuzz_convert $(FUZZ_DIR)/corpus $(FUZZ_DIR)/seeds -max_total_time=$(FUZZ_SECONDS) \
	  -timeout=30 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/findings/ >$(FUZZ_DIR)/fuzz.log 2>&1 \
	  || { tail -n 80 $(FUZZ_DIR)/fuzz.log; echo "fuzzing found a failing input: see $(FUZZ_DIR)/findings"; exit 1; }
	@grep -E '^(Done|stat::)' $(FUZZ_DIR)/fuzz.log

# Speed and memory on generated models of three families (shared, smooth,
# flat) at 100k, 1M and 4M polygons, beside the floor and assimp (apt-get
# install assimp-utils for the comparison). BENCH_ARGS passes options, e.g.
# BENCH_ARGS="--families smooth,flat --sizes 1000000 --runs 9".
bench:
	$(CONFIGURE) -DZELVANE_TESTS=OFF -DZELVANE_BENCH=ON
	$(call BUILD,$(BUILD_DIR))
	$(BUILD_DIR)/bench/zelvane_bench $(BENCH_ARGS)

# Rewrites examples/house.mag with the project's MAG5 writer.
sample: build
	$(call BUILD,$(BUILD_DIR)) --target make_sample_model
	$(BUILD_DIR)/tools/make_sample_model examples/house.mag

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(WINDOWS_DIR)
