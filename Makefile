# `make run` starts ZUVDESK from the installation folder; `make test` runs every test.
# Both install the Debian packages they lack first.

BUILD ?= build
PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev libsqlite3-dev libxml2-dev \
           libgtest-dev libgmock-dev libbenchmark-dev sqlite3 poppler-utils libwmf-bin xvfb xauth x11-utils \
           imagemagick fonts-dejavu-core fonts-urw-base35 qt6-qpa-plugins qt6-translations-l10n

.PHONY: deps build test run clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$$(nproc)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$$(nproc) --timeout 600

run: build
	@if [ -x $(BUILD)/dist/zuvdesk ]; then cd $(BUILD)/dist && ./zuvdesk; \
	else echo "ZUVDESK is not built yet: no program in $(BUILD)/dist."; fi

clean:
	rm -rf $(BUILD)
