# The two commands a newcomer needs: `make test` and `make run`. `make bench` prints the benchmark figures;
# `make fuzz` runs each fuzz target for FUZZ_SECONDS (clang build) and prints its executions; `make soak`
# prints the figures of a long run (SOAK_PASSES, default 20,000).
.PHONY: deps configure build test test-debug test-asan run bench fuzz soak format clean

FUZZ_SECONDS ?= 60
SOAK_PASSES ?= 20000

deps:
	@scripts/install-deps

build: deps
	cmake --preset debug
	cmake --build --preset debug

test-debug: build
	ctest --preset debug

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

test: test-debug test-asan

run: build
	./build/debug/src/kivo

bench: deps
	cmake --preset release
	cmake --build --preset release
	@for b in build/release/bench/*; do [ -x "$$b" ] && [ -f "$$b" ] && "$$b" || true; done

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/fuzz $(FUZZ_SECONDS)

# Under the sanitizers for leaks and undefined behaviour, then in Release, where pass time and resident
# memory are judged.
soak: deps
	cmake --preset asan
	cmake --build --preset asan --target kivo_soak
	ASAN_OPTIONS=detect_leaks=1 ./build/asan/soak/kivo_soak --passes $(SOAK_PASSES) --warmup 1000
	cmake --preset release
	cmake --build --preset release --target kivo_soak
	./build/release/soak/kivo_soak --passes $(SOAK_PASSES) --warmup 1000

format: deps
	@bash -c '. scripts/lib/require.sh && require clang-format:clang-format git:git' make-format
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
