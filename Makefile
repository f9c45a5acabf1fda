# Kairon: the two everyday commands are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= 2

.PHONY: all setup configure host win64 win32 build test test-host test-win64 test-win32 run screenshots format fuzz bench dist clean

all: build

setup:
	@bash tools/setup.sh

build/%/build.ninja:
	@cmake --preset $* >/dev/null

host win64 win32: %: setup build/%/build.ninja
	@cmake --build --preset $* -j $(JOBS)

build: host win64 win32

test: build
	@bash tools/test.sh

test-host: setup host
	@bash tools/test.sh host

test-win64: setup win64
	@bash tools/test.sh win64

test-win32: setup win32
	@bash tools/test.sh win32

run: setup win64
	@bash tools/run.sh

screenshots: setup win64
	@bash tools/screenshots.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

fuzz: setup
	@bash tools/fuzz.sh 600

bench: setup build
	@bash tools/bench.sh

dist: setup win64 win32
	@bash tools/dist.sh

clean:
	rm -rf build dist
