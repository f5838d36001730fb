# `make run` starts ZUVDESK from the installation folder; `make test` runs every test.
# Both install the Debian packages they lack first. CI (CI=true) builds with warnings as errors.

BUILD ?= build
PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev libsqlite3-dev libxml2-dev \
           libgtest-dev libgmock-dev libbenchmark-dev sqlite3 poppler-utils libwmf-bin xvfb xauth x11-utils \
           imagemagick libhyphen-dev hyphen-de fonts-dejavu-core fonts-urw-base35 qt6-qpa-plugins qt6-translations-l10n \
           locales cups printer-driver-cups-pdf openssh-server sshfs fuse3 clang-format

# The users' locale, in which the tests run, and the others they run in besides.
LOCALES = de_DE.UTF-8 en_US.UTF-8 tr_TR.UTF-8

.PHONY: deps build test run clean fuzz sanitize sanitizer-build check-format format

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	@missing=$$(for l in $(LOCALES); do locale -a 2>/dev/null | sed 's/\.utf8$$/.UTF-8/' | grep -qx "$$l" || echo $$l; done); \
	if [ -n "$$missing" ]; then \
	  echo "Generating locales: $$missing"; \
	  for l in $$missing; do grep -qx "$$l UTF-8" /etc/locale.gen || echo "$$l UTF-8" >> /etc/locale.gen; done; \
	  locale-gen; \
	fi

WERROR ?= $(if $(filter true,$(CI)),ON,OFF)

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUV_WERROR=$(WERROR)
	cmake --build $(BUILD) -j$$(nproc)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ctest --output-on-failure -j$$(nproc) --timeout 600

run: build
	@if [ -x $(BUILD)/dist/zuvdesk ]; then cd $(BUILD)/dist && ./zuvdesk; \
	else echo "ZUVDESK is not built yet: no program in $(BUILD)/dist."; fi

# `make fuzz` runs the fuzz tests of `make test` far longer (FUZZ_RUNS times as many inputs, seed
# FUZZ_SEED) in a build of their own under AddressSanitizer and UndefinedBehaviorSanitizer.
FUZZ_BUILD ?= $(BUILD)/fuzz
FUZZ_RUNS ?= 50
FUZZ_SEED ?= 20261209
FUZZ_JOBS ?= $$(nproc)
FUZZ_TESTS = test_platform_db test_platform_ini test_desk_testing test_platform_draw test_platform_report
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

# The only leak passed over is the one inside libhyphen (tests/sanitizer/ shows and suppresses it).
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitizer-build: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_C_FLAGS="$(SANITIZE)" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"

fuzz: sanitizer-build
	cmake --build $(FUZZ_BUILD) -j$(FUZZ_JOBS) --target $(FUZZ_TESTS)
	for t in $(FUZZ_TESTS); do \
	  QT_QPA_PLATFORM=offscreen ZUV_FUZZ_RUNS=$(FUZZ_RUNS) ZUV_FUZZ_SEED=$(FUZZ_SEED) $(SANITIZER_ENV) \
	  $(FUZZ_BUILD)/tests/$$t --gtest_filter='*Fuzz*' || exit 1; \
	done

# `make sanitize` builds everything in the same build as `make fuzz` and runs every test program
# whole, its tests shuffled, under AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer.
sanitize: sanitizer-build
	cmake --build $(FUZZ_BUILD) -j$(FUZZ_JOBS) --target zuv_tests
	cd $(FUZZ_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) \
	  ctest -L whole --output-on-failure -j$(FUZZ_JOBS) --timeout 3600

# `make check-format` fails on a source whose layout differs from .clang-format; `make format`
# formats every source in place.
check-format: deps
	tools/format-check

format: deps
	tools/format-all

clean:
	rm -rf $(BUILD)
