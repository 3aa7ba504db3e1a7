# Convenience front end to the CMake build; see README.md.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
WINDOWS_DIR ?= build-windows
PACKAGE_BUILD_DIR ?= build-pkg
PACKAGE_WINDOWS_DIR ?= build-pkg-win
PACKAGE_DIR ?= build-package
BLENDER_LINUX_DIR ?= build-blender-linux
FUZZ_SECONDS ?= 120
FUZZ_IMAGE_SECONDS ?= 40
FUZZ_READ_SECONDS ?= 60
FUZZ_CXX ?= clang++-14
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Ninja when it is installed, for a build folder configured for the first
# time; a folder keeps the generator it was first configured with (make test
# may install Ninja after make demo configured build/ for make).
GENERATOR = $(if $(wildcard $(1)/CMakeCache.txt),,$(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja"))
BUILD = cmake --build $(1) --parallel $(JOBS)

.PHONY: build demo test test-packages test-build test-plain test-sanitize windows test-windows package package-windows \
  package-blender test-blender test-blender-legacy test-blender-extension fuzz bench sample clean

# Every configure names the parts it wants, so that one build folder serves
# the demo (the converter alone), the tests and the benchmark in turn.
CONFIGURE = cmake -S . -B $(BUILD_DIR) $(call GENERATOR,$(BUILD_DIR)) -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON

# The converter alone: needs a C++ compiler, CMake and make or Ninja.
build:
	tools/ensure_packages.sh build
	$(CONFIGURE) -DZELVANE_TESTS=OFF -DZELVANE_BENCH=OFF
	$(call BUILD,$(BUILD_DIR)) --target zelvane

# Converts the sample house both ways into $(BUILD_DIR)/demo, once more
# with its textures, found in examples/ and converted to PNG, and draws its
# picture.
demo: build
	rm -rf $(BUILD_DIR)/demo && mkdir -p $(BUILD_DIR)/demo/scene $(BUILD_DIR)/demo/textured
	cp examples/house.mag $(BUILD_DIR)/demo/house.mag
	cp examples/house.mag $(BUILD_DIR)/demo/scene/house.mag
	cp examples/house.mag $(BUILD_DIR)/demo/textured/house.mag
	$(BUILD_DIR)/zelvane $(BUILD_DIR)/demo/house.mag
	$(BUILD_DIR)/zelvane $(BUILD_DIR)/demo/scene/house.mag -quazo
	$(BUILD_DIR)/zelvane $(BUILD_DIR)/demo/textured/house.mag --textures --texture-dir examples
	$(BUILD_DIR)/zelvane --thumbnail 512 examples/house.mag $(BUILD_DIR)/demo/house.preview.png
	@echo
	@echo "OBJ and MTL:          $(BUILD_DIR)/demo/house.obj, $(BUILD_DIR)/demo/house.mtl"
	@echo "scene with its meshes: $(BUILD_DIR)/demo/scene/house.xml and $(BUILD_DIR)/demo/scene/*.obj"
	@echo "textured OBJ and MTL: $(BUILD_DIR)/demo/textured/house.obj, $(BUILD_DIR)/demo/textured/house.mtl"
	@echo "                      with the textures as PNG: $(BUILD_DIR)/demo/textured/*.png"
	@echo "the house's picture:  $(BUILD_DIR)/demo/house.preview.png"

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

# The tests of everything that runs on more than one thread (models
# converted side by side, interrupts, glTF and OBJ text made in pieces by two
# threads, large models, pictures drawn while the other outputs are written)
# again under ThreadSanitizer, in $(TSAN_DIR). A race it finds fails the run:
# the converter's own report goes to its standard error, which the
# end-to-end tests compare, and the test programs end with status 66.
TSAN_TESTS = Batch|GameFolder|Interrupt|Replac|Gltf|LargeModel|InPieces|TextureWarnings|Preview\.SameBytes|PictureThreads
.PHONY: test-tsan
test-tsan: test-packages
	cmake -S . -B $(TSAN_DIR) $(call GENERATOR,$(TSAN_DIR)) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVANE_WERROR=ON \
	  -DZELVANE_TSAN=ON -DZELVANE_TESTS=ON -DZELVANE_BENCH=OFF
	$(call BUILD,$(TSAN_DIR))
	cd $(TSAN_DIR) && TSAN_OPTIONS="halt_on_error=1 exitcode=66" ctest --output-on-failure -j2 -R '$(TSAN_TESTS)'

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

# The Debian package, $(PACKAGE_DIR)/zelvane_<version>_<arch>.deb: the
# converter built in $(PACKAGE_BUILD_DIR) with Debian's hardening flags, its
# manual page, README.md, CONTRIBUTING.md and the pages of doc/, the
# changelog and LICENSE as the copyright file
# (see cmake/Packaging.cmake); CPack strips the binary and has dpkg-shlibdeps
# name the libraries it needs.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package:
	tools/ensure_packages.sh package
	cmake -S . -B $(PACKAGE_BUILD_DIR) $(call GENERATOR,$(PACKAGE_BUILD_DIR)) -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON \
	  -DZELVANE_TESTS=OFF -DZELVANE_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)"
	$(call BUILD,$(PACKAGE_BUILD_DIR)) --target zelvane
	rm -rf $(PACKAGE_DIR)/_CPack_Packages $(PACKAGE_DIR)/zelvane_*.deb*
	cd $(PACKAGE_BUILD_DIR) && cpack -G DEB -B $(abspath $(PACKAGE_DIR))
	rm -rf $(PACKAGE_DIR)/_CPack_Packages
	@echo
	@echo "Debian package: $$(ls $(PACKAGE_DIR)/zelvane_*.deb)"

# The zip for 64-bit Windows, $(PACKAGE_DIR)/zelvane-<version>-windows-x86_64.zip:
# the static zelvane.exe (as make windows builds it, in $(PACKAGE_WINDOWS_DIR)),
# stripped, with README.txt, LICENSE.txt, CONTRIBUTING.md, and in doc/ the
# pages the README links to, the house's picture, the manual page and the
# same as plain text (zelvane.txt, by groff), every text in CR LF line ends;
# its SHA-256 sum beside it, as CPack writes one beside the Debian package.
package-windows:
	tools/ensure_packages.sh package-windows
	$(MAKE) windows WINDOWS_DIR=$(PACKAGE_WINDOWS_DIR)
	set -e; \
	version=$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(PACKAGE_WINDOWS_DIR)/CMakeCache.txt); \
	name=zelvane-$$version-windows-x86_64; stage=$(PACKAGE_WINDOWS_DIR)/$$name; zip=$(abspath $(PACKAGE_DIR))/$$name.zip; \
	rm -rf $$stage $$zip $$zip.sha256 && mkdir -p $$stage/doc $(PACKAGE_DIR); \
	x86_64-w64-mingw32-strip -o $$stage/zelvane.exe $(PACKAGE_WINDOWS_DIR)/zelvane.exe; \
	crlf() { sed -e 's/\r$$//' -e 's/$$/\r/' "$$1" >"$$2"; }; \
	crlf README.md $$stage/README.txt; \
	crlf LICENSE $$stage/LICENSE.txt; \
	crlf CONTRIBUTING.md $$stage/CONTRIBUTING.md; \
	for page in doc/*.md doc/zelvane.1; do crlf $$page $$stage/$$page; done; \
	cp doc/house.preview.png $$stage/doc/; \
	groff -man -Tutf8 -P-cbou doc/zelvane.1 >$$stage/zelvane.man; \
	crlf $$stage/zelvane.man $$stage/doc/zelvane.txt && rm $$stage/zelvane.man; \
	cd $$stage && zip -X -9 -q $$zip zelvane.exe README.txt LICENSE.txt CONTRIBUTING.md doc/*; \
	cd $(abspath $(PACKAGE_DIR)) && sha256sum $$name.zip >$$name.zip.sha256; \
	echo; echo "Windows zip: $$zip"

# The Blender add-on's two zips (see tools/package_blender.sh): the legacy
# add-on $(PACKAGE_DIR)/zelvane-blender-<version>.zip, for Blender 3.4 to 4.1,
# and the extension $(PACKAGE_DIR)/zelvane_mag5-<version>.zip, for Blender 4.2
# and later, both from blender/io_scene_mag5, with LICENSE and the converter
# stripped for Linux x86-64, linked statically so that it runs on any x86-64
# Linux (built in $(BLENDER_LINUX_DIR)), and for Windows x86-64 (configured as
# make windows does, in $(PACKAGE_WINDOWS_DIR), which package-windows shares).
# glibc 2.34 and later hold the threads in libc itself; the whole-archive
# libpthread still serves older ones.
# zlib is linked from its static libz.a (ZLIB_USE_STATIC_LIBS).
STATIC_LINK_FLAGS = -static -pthread -Wl,--whole-archive -lpthread -Wl,--no-whole-archive
PROJECT_VERSION = $$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BLENDER_LINUX_DIR)/CMakeCache.txt)
package-blender:
	tools/ensure_packages.sh package-blender
	cmake -S . -B $(BLENDER_LINUX_DIR) $(call GENERATOR,$(BLENDER_LINUX_DIR)) -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON \
	  -DZELVANE_TESTS=OFF -DZELVANE_BENCH=OFF -DCMAKE_EXE_LINKER_FLAGS="$(STATIC_LINK_FLAGS)" -DZLIB_USE_STATIC_LIBS=ON
	$(call BUILD,$(BLENDER_LINUX_DIR)) --target zelvane
	cmake -S . -B $(PACKAGE_WINDOWS_DIR) $(call GENERATOR,$(PACKAGE_WINDOWS_DIR)) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DZELVANE_WERROR=ON
	$(call BUILD,$(PACKAGE_WINDOWS_DIR)) --target zelvane
	tools/package_blender.sh $(PROJECT_VERSION) $(BLENDER_LINUX_DIR)/zelvane $(PACKAGE_WINDOWS_DIR)/zelvane.exe \
	  $(BLENDER_LINUX_DIR)/blender-stage $(PACKAGE_DIR)

# Installs each zip into a headless Blender, with user folders of its own,
# and imports models through it (see tests/blender/run_tests.sh): the legacy
# zip into this machine's Blender (Debian 12's 3.4), the extension into
# Debian 13's Blender 4.3, in a root that tools/trixie_blender.sh makes the
# first time in TRIXIE_BLENDER_DIR (needs root and about 2 GB).
TRIXIE_BLENDER_DIR ?= /work/trixie-blender
test-blender: test-blender-legacy test-blender-extension

test-blender-legacy: package-blender
	tools/ensure_packages.sh blender
	version=$(PROJECT_VERSION); \
	tests/blender/run_tests.sh legacy $(PACKAGE_DIR)/zelvane-blender-$$version.zip $$version

test-blender-extension: package-blender
	tools/ensure_packages.sh trixie-blender
	version=$(PROJECT_VERSION); TRIXIE_BLENDER_DIR=$(TRIXIE_BLENDER_DIR) \
	tests/blender/run_tests.sh --trixie extension $(PACKAGE_DIR)/zelvane_mag5-$$version.zip $$version

# Builds the fuzz target with clang, writes the seed corpus and fuzzes for
# FUZZ_SECONDS. Inputs that found new paths collect in $(FUZZ_DIR)/corpus and
# are reused by the next run; a failing input lands in $(FUZZ_DIR)/findings.
# The full log is $(FUZZ_DIR)/fuzz.log. Then the image fuzz target likewise
# for FUZZ_IMAGE_SECONDS, with image-seeds, image-corpus, image-findings and
# fuzz-image.log in $(FUZZ_DIR), and the OBJ and glTF reading target for
# FUZZ_READ_SECONDS, with read-seeds (the sample house converted by the fuzz
# build's zelvane), read-corpus, read-findings and fuzz-read.log.
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
	rm -rf $(FUZZ_DIR)/image-seeds && $(FUZZ_DIR)/tools/make_image_fuzz_corpus $(FUZZ_DIR)/image-seeds
	mkdir -p $(FUZZ_DIR)/image-corpus $(FUZZ_DIR)/image-findings
	@echo "fuzzing the image codecs for $(FUZZ_IMAGE_SECONDS) s"
	@$(FUZZ_DIR)/fuzz/fuzz_image $(FUZZ_DIR)/image-corpus $(FUZZ_DIR)/image-seeds -max_total_time=$(FUZZ_IMAGE_SECONDS) \
	  -timeout=30 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/image-findings/ >$(FUZZ_DIR)/fuzz-image.log 2>&1 \
	  || { tail -n 80 $(FUZZ_DIR)/fuzz-image.log; echo "fuzzing found a failing input: see $(FUZZ_DIR)/image-findings"; exit 1; }
	@grep -E '^(Done|stat::)' $(FUZZ_DIR)/fuzz-image.log
	rm -rf $(FUZZ_DIR)/read-seeds && tools/make_read_fuzz_seeds.sh $(FUZZ_DIR)/zelvane $(FUZZ_DIR)/read-seeds
	mkdir -p $(FUZZ_DIR)/read-corpus $(FUZZ_DIR)/read-findings
	@echo "fuzzing the OBJ and glTF readers for $(FUZZ_READ_SECONDS) s"
	@$(FUZZ_DIR)/fuzz/fuzz_read $(FUZZ_DIR)/read-corpus $(FUZZ_DIR)/read-seeds -max_total_time=$(FUZZ_READ_SECONDS) \
	  -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/read-findings/ >$(FUZZ_DIR)/fuzz-read.log 2>&1 \
	  || { tail -n 80 $(FUZZ_DIR)/fuzz-read.log; echo "fuzzing found a failing input: see $(FUZZ_DIR)/read-findings"; exit 1; }
	@grep -E '^(Done|stat::)' $(FUZZ_DIR)/fuzz-read.log

# Speed and memory on generated models of three families (shared, smooth,
# flat) at 100k, 250k, 1M and 4M polygons, beside the floor and assimp (apt-get
# install assimp-utils for the comparison). BENCH_ARGS passes options, e.g.
# BENCH_ARGS="--families smooth,flat --sizes 1000000 --runs 9".
bench:
	$(CONFIGURE) -DZELVANE_TESTS=OFF -DZELVANE_BENCH=ON
	$(call BUILD,$(BUILD_DIR))
	$(BUILD_DIR)/bench/zelvane_bench $(BENCH_ARGS)

# Rewrites examples/house.mag with the project's MAG5 writer, the house's
# textures (examples/*.pcx) with its image writer, and the house's picture
# in the README (doc/house.preview.png) with the converter.
sample: build
	$(call BUILD,$(BUILD_DIR)) --target make_sample_model
	$(BUILD_DIR)/tools/make_sample_model examples/house.mag
	$(call BUILD,$(BUILD_DIR)) --target make_sample_textures
	$(BUILD_DIR)/tools/make_sample_textures examples
	$(BUILD_DIR)/zelvane --thumbnail 384 examples/house.mag doc/house.preview.png

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR) $(WINDOWS_DIR) $(PACKAGE_BUILD_DIR) $(PACKAGE_WINDOWS_DIR) $(PACKAGE_DIR) \
	  $(BLENDER_LINUX_DIR)
