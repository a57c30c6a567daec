# make check: install what is missing, configure, build and run every test (the fuzz targets
#             among them, each over its corpus and mutations of it for a few seconds).
# make asan:  the same under AddressSanitizer and UndefinedBehaviorSanitizer, built with clang.
# make fuzz:  the fuzz targets as libFuzzer programs (clang), in build/fuzz/fuzz.
# make demo:  the host program's demonstration run.
# make mutants: deliberate faults that the tests must catch, each built and tested in a copy
#               under build/mutants (slow, not part of check). FAULTS="word ..." picks some.
# make windows: cross-build ZELControlProj.dll for 64-bit Windows with mingw-w64.
# make check-windows: register that DLL under Wine and run the VBScript tests against it, with
#             the Linux build's simulator as the analyzer and its run of the same Get Data to compare.
PRESET ?= default
DEBIAN_PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
                   libfmt-dev libasio-dev libxlsxwriter-dev libgd-dev libcli11-dev zlib1g-dev libzip-dev libdeflate-dev python3 \
                   python3-openpyxl python3-docx libwmf-dev fonts-urw-base35 file \
                   python3-pyvisa python3-pyvisa-py python3-xlsxwriter clang-14 libclang-rt-14-dev
# The Windows build's own packages, installed by make windows only, so that make check stays lean.
WINDOWS_PACKAGES := cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools libasio-dev libfmt-dev \
                    wine64
WINE ?= /usr/lib/wine/wine64
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# The sanitizer and fuzz builds take clang when it is there: libFuzzer comes with it, and its
# sanitizers cost less build time than gcc's.
CLANG := $(shell command -v clang++-14 || command -v clang++)
COMPILERS = $(if $(and $(CLANG),$(filter asan fuzz,$(PRESET))),-DCMAKE_CXX_COMPILER=$(CLANG) -DCMAKE_C_COMPILER=$(subst clang++,clang,$(CLANG)))

.PHONY: check demo deps configure build asan fuzz clean mutants windows check-windows

check: build
	ctest --preset $(PRESET)

deps:
	@missing=$$(for p in $(DEBIAN_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake --preset $(PRESET) $(COMPILERS)

build: configure
	cmake --build --preset $(PRESET)

asan:
	$(MAKE) check PRESET=asan

fuzz:
	$(MAKE) configure PRESET=fuzz
	cmake --build --preset fuzz --target zel_fuzz

# The demonstration needs the host program alone, not the tests.
demo: configure
	cmake --build --preset $(PRESET) --target zel
	build/$(PRESET)/apps/zel demo

mutants: deps
	python3 scripts/mutants.py $(FAULTS)

windows:
	$(MAKE) deps DEBIAN_PACKAGES="$(WINDOWS_PACKAGES)"
	cmake --preset windows
	cmake --build --preset windows

check-windows: build windows
	WINE=$(WINE) tests/windows/run.sh build/windows/windows/ZELControlProj.dll

clean:
	rm -rf build
