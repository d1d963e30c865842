# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES := cmake ninja-build ccache g++ pkg-config qt6-base-dev qt6-charts-dev libsqlite3-dev \
            python3-xlrd libgl1-mesa-dev fonts-arphic-uming fonts-noto-cjk poppler-utils \
            xvfb xauth desktop-file-utils dpkg-dev file librsvg2-bin qt6-translations-l10n breeze-icon-theme \
            libqt6svg6 openbox x11-utils mdbtools-dev mdbtools libpq-dev
# The tests also run against a throw-away PostgreSQL server of their own.
TEST_PACKAGES := postgresql-15 postgresql-contrib
export CCACHE_BASEDIR := $(CURDIR)

.PHONY: deps test-deps install-missing configure build run test bench package clean

deps:
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGES)"

test-deps: deps
	@$(MAKE) --no-print-directory install-missing WANTED="$(TEST_PACKAGES)"

install-missing:
	@missing=$$(for p in $(WANTED); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

run: build
	mkdir -p run
	[ -f run/data.mdb ] || $(BUILD)/velorin-db demo run/data.mdb
	cd run && ../$(BUILD)/velorin

test: test-deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

bench: test-deps build
	scripts/bench.sh $(BUILD)

# The Debian package velorin_<version>_<arch>.deb in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
