# The two everyday commands: `make run` and `make test`.
# Each installs what is missing for it, configures, builds what it needs, then runs:
# `make run` builds the program alone, `make test` everything the tests need.

BUILD      ?= build
BUILD_SAN  ?= build-san
BUILD_FUZZ ?= build-fuzz
BUILD_BENCH ?= build-bench
BUILD_DEB  ?= build-deb
FUZZ_SECONDS ?= 60
GENERATOR  ?= Ninja
CMAKE_ARGS ?=

.PHONY: corpus run program test test-plain test-sanitized deps configure build build-sanitized fuzz bench package deb format clean

run: program
	cd $(BUILD) && ./vellox

# The program and its folder, without the test suites.
program: configure
	cmake --build $(BUILD) --target vellox

test: test-plain test-sanitized

# Everything every target below needs; each target asks only for its own profile.
deps:
	@scripts/install-deps

deps-%:
	@scripts/install-deps $*

configure: deps-run
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: configure deps
	cmake --build $(BUILD)

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure

build-sanitized: deps
	@test -f $(BUILD_SAN)/CMakeCache.txt || cmake -S . -B $(BUILD_SAN) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVELLOX_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_SAN)

test-sanitized: build-sanitized
	ctest --test-dir $(BUILD_SAN) --output-on-failure

# Timings against their targets, in an optimised build of their own.
bench: deps-bench
	@test -f $(BUILD_BENCH)/CMakeCache.txt || cmake -S . -B $(BUILD_BENCH) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVELLOX_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_BENCH) --target bench_vellox
	$(BUILD_BENCH)/bench/bench_vellox
	bench/startup-on-x $(BUILD_BENCH)

# The four suggestions over real wallpapers from Debian's packages (fetched into CORPUS,
# outside the repository, by scripts/fetch-wallpapers) and the test photographs: the
# report lands in $(BUILD_BENCH)/corpus-report.md. Every fifth picture is held back.
CORPUS ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/vellox-corpus
corpus: deps-corpus
	@test -f $(BUILD_BENCH)/CMakeCache.txt || cmake -S . -B $(BUILD_BENCH) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVELLOX_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_BENCH) --target corpus_report
	scripts/fetch-wallpapers $(CORPUS)
	QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 $(BUILD_BENCH)/bench/corpus_report $(CORPUS)/pictures/* tests/photos/*.jpg > $(BUILD_BENCH)/corpus-report.md.part
	mv $(BUILD_BENCH)/corpus-report.md.part $(BUILD_BENCH)/corpus-report.md
	cat $(BUILD_BENCH)/corpus-report.md

# The portable archive: $(BUILD)/Vellox-<version>-Linux.tar.gz
package: build
	cd $(BUILD) && cpack

# Each fuzz target for FUZZ_SECONDS (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer).
fuzz: deps-fuzz
	@test -f $(BUILD_FUZZ)/CMakeCache.txt || cmake -S . -B $(BUILD_FUZZ) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVELLOX_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_FUZZ)
	scripts/run-fuzzers $(BUILD_FUZZ) $(FUZZ_SECONDS)

# The Debian package: $(BUILD)/vellox_<version>_<arch>.deb, laid out under /usr.
# Debian's hardening: fortified calls, a guarded stack, relocations read-only and bound
# at start.
DEB_HARDENING = "-DCMAKE_CXX_FLAGS=-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
                "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro,-z,now"

deb: deps-deb
	@test -f $(BUILD_DEB)/CMakeCache.txt || cmake -S . -B $(BUILD_DEB) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DVELLOX_LAYOUT=System -DVELLOX_TESTS=OFF $(DEB_HARDENING) $(CMAKE_ARGS)
	cmake --build $(BUILD_DEB)
	cd $(BUILD_DEB) && cpack
	mkdir -p $(BUILD) && cp $(BUILD_DEB)/vellox_*.deb $(BUILD)/

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ) $(BUILD_BENCH) $(BUILD_DEB)
