# Convenience front end to the CMake build; see README.md.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: build demo test test-plain test-sanitize bench sample clean

build:
	cmake -S . -B $(BUILD_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON
	cmake --build $(BUILD_DIR)

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
# and UndefinedBehaviorSanitizer.
test: test-plain test-sanitize

test-plain: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

test-sanitize:
	cmake -S . -B $(SANITIZE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVANE_WERROR=ON -DZELVANE_SANITIZE=ON
	cmake --build $(SANITIZE_DIR)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j2

# Speed and memory on generated terrains of 100k, 1M and 4M polygons, beside
# the floor and assimp (apt-get install assimp-utils for the comparison).
# BENCH_ARGS passes options, e.g. BENCH_ARGS="--sizes 1000000 --runs 9".
bench: build
	$(BUILD_DIR)/bench/zelvane_bench $(BENCH_ARGS)

# Rewrites examples/house.mag with the project's MAG5 writer.
sample: build
	$(BUILD_DIR)/tools/make_sample_model examples/house.mag

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
