# Brindle: build, run and test on Debian 12. Every target installs what it needs.

BUILD ?= build
RELEASE ?= build-release
FUZZ ?= build-fuzz
PACKAGE ?= build-package
CMAKE_FLAGS ?=

.PHONY: all deps build run test package screenshot bench fuzz format

all: build

deps:
	@bash scripts/install-deps

$(BUILD)/build.ninja:
	@bash scripts/install-deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: there is no display here (DISPLAY is not set); 'make screenshot' shows Brindle's window in a virtual X server."; \
	    exit 1; \
	fi
	cd $(BUILD)/install && ./brindle

# Under C every text of the window is the one written in the sources, whatever the
# desktop speaks.
test: build
	cd $(BUILD) && LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2

# The Debian package of a Release build, installed to /usr: apt install ./$(PACKAGE)/brindle_*.deb
package: deps
	cmake -S . -B $(PACKAGE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLE_TESTS=OFF
	cmake --build $(PACKAGE) --target package
	@ls $(PACKAGE)/brindle_*.deb

screenshot: build
	bash scripts/screenshot $(BUILD) docs/main-window.png

bench: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDLE_TESTS=OFF
	cmake --build $(RELEASE) --target benchmarks
	bash bench/run $(RELEASE)

fuzz: deps
	CXX=clang++-14 cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINDLE_TESTS=OFF -DBRINDLE_FUZZ=ON
	cmake --build $(FUZZ) --target fuzzers
	bash tests/fuzz/run $(FUZZ) $${FUZZ_SECONDS:-60}

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
