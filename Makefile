# Thin front over the CMake preset; the scripts install what is missing.
.PHONY: run test soak bench dist check-reproducible study build format clean

run:
	tools/run.sh

test:
	tools/test-headless.sh

soak:
	tools/soak.sh

bench:
	tools/bench.sh

dist:
	tools/dist.sh

check-reproducible:
	tools/check-reproducible.sh

study:
	tools/study.sh

build:
	tools/install-deps.sh
	cmake --preset mingw
	cmake --build --preset mingw

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
