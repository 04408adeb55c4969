# Lite_TELM_KOV: the two set-up commands of a fresh Debian 12 machine, as root or as a user.
#   make run    install what is missing, build, assemble the Workspace and start the program
#   make test   install what is missing, build with the sanitizers and run every test
# Only installing packages and locales needs root: a user is asked for it through sudo, and only
# when something is missing. The build, the Workspace and the program belong to whoever ran make.

PACKAGES := build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-charts-dev \
	libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libzip-dev zipcmp zipmerge ziptool \
	libpugixml-dev libexpat1-dev libfreexl-dev libjpeg62-turbo-dev libturbojpeg0-dev xvfb xauth \
	xdotool imagemagick poppler-utils python3-openpyxl libreoffice-calc locales fonts-dejavu-core \
	clang qt6-translations-l10n python3-scipy sudo

WORKSPACE := $(CURDIR)/Workspace
JOBS := $(shell nproc)
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: run test build deps locales bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing: $$missing"; \
		if [ -n "$(SUDO)" ] && ! command -v sudo >/dev/null; then \
			echo "Installing packages needs root: run make once as root, or install sudo."; exit 1; \
		fi; \
		$(SUDO) apt-get update -qq && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

locales: deps
	@for l in de_DE.UTF-8 ru_RU.UTF-8 en_US.UTF-8; do \
		locale -a 2>/dev/null | grep -qi "^$$(echo $$l | sed 's/UTF-8/utf8/')$$" || need=1; \
	done; \
	if [ -n "$$need" ]; then \
		echo "Generating the locales de_DE.UTF-8, ru_RU.UTF-8 and en_US.UTF-8"; \
		if [ -n "$(SUDO)" ] && ! command -v sudo >/dev/null; then \
			echo "Generating locales needs root: run make once as root, or install sudo."; exit 1; \
		fi; \
		$(SUDO) sed -i -E 's/^# *(de_DE.UTF-8|ru_RU.UTF-8|en_US.UTF-8)/\1/' /etc/locale.gen && \
		$(SUDO) locale-gen >/dev/null; \
	fi

build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOV_WORKSPACE=$(WORKSPACE) \
		-DKOV_BUILD_TESTS=OFF -DKOV_BUILD_BENCH=OFF
	cmake --build build/release -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "The Workspace is ready in $(WORKSPACE), but there is no display to show the program on."; \
		echo "Start it under a virtual display:"; \
		echo "  xvfb-run -a -s \"-screen 0 1280x800x24\" $(WORKSPACE)/kov"; \
	else \
		$(WORKSPACE)/kov; \
	fi

test: locales
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOV_SANITIZE=ON -DKOV_BUILD_BENCH=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOV_BUILD_TESTS=OFF -DKOV_BUILD_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bench/kov_bench_*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; \
		"$$b" || { echo "$$b failed"; exit 1; }; \
	done

clean:
	rm -rf build
