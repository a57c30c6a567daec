# make check: install what is missing, configure, build and run every test.
# make demo:  the host program's demonstration run.
# make mutants: deliberate faults that the tests must catch, each built and tested in a copy
#               under build/mutants (slow, not part of check). FAULTS="word ..." picks some.
PRESET ?= default
DEBIAN_PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
                   libfmt-dev libasio-dev libxlsxwriter-dev libgd-dev libcli11-dev zlib1g-dev libzip-dev libdeflate-dev python3 \
                   python3-openpyxl python3-docx libwmf-dev fonts-urw-base35 file \
                   python3-pyvisa python3-pyvisa-py python3-xlsxwriter
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: check demo deps configure build asan clean mutants

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
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

asan:
	$(MAKE) check PRESET=asan

# The demonstration needs the host program alone, not the tests.
demo: configure
	cmake --build --preset $(PRESET) --target zel
	build/$(PRESET)/apps/zel demo

mutants: deps
	python3 scripts/mutants.py $(FAULTS)

clean:
	rm -rf build
