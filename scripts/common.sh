# SPDX-License-Identifier: MIT
# Shared by scripts/run and scripts/test: install what is missing, then build.
# Sourced, not run.
set -euo pipefail

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$TOP/build"

# Debian 12 packages: to build and run, and to run the tests (private sound
# servers as desktops have them, PulseAudio and PipeWire with WirePlumber and
# its pulse service, and parec to record what they play; the two font families
# the windows are checked against; the validators of the desktop files and
# the Debian package; clang's libFuzzer for the fuzz runs; for the end-to-end
# tests an X server, the accessibility bus and its Python bindings, and
# xdotool to click and type).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libpulse-dev libgtest-dev libgmock-dev
    qt6-base-dev libsqlite3-dev fonts-dejavu-core)
TEST_PACKAGES=(pulseaudio pulseaudio-utils pipewire wireplumber pipewire-pulse fonts-liberation praat
    desktop-file-utils appstream lintian dpkg-dev file
    clang libclang-rt-14-dev clang-format
    xvfb xdotool dbus at-spi2-core python3-pyatspi)

fail() {
    echo "error: $*" >&2
    exit 1
}

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing Debian packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || fail "missing packages ${missing[*]}: run as root or install sudo"
        sudo=(sudo)
    fi
    local log
    log=$(mktemp)
    if ! { "${sudo[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
        tail -n 20 "$log" >&2
        rm -f "$log"
        fail "could not install the Debian packages: ${missing[*]}"
    fi
    rm -f "$log"
    for p in "${missing[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            fail "the Debian package $p is still missing after apt-get install"
    done
}

# Configures and builds through a preset of CMakePresets.json; under CI
# (CI=true) through its ci variant, with warnings as errors. The build's
# chatter goes to build.log in the preset's folder and is shown only when
# something fails.
build() {
    local preset=$1 dir=$2
    if [ "${CI:-}" = "true" ]; then
        case $preset in default) preset=ci ;; *) preset=ci-$preset ;; esac
    fi
    mkdir -p "$dir"
    if ! (cd "$TOP" && cmake --preset "$preset" &&
        cmake --build --preset "$preset" --parallel "$(nproc)") >"$dir/build.log" 2>&1; then
        grep -E -A5 'error|Error|FAILED' "$dir/build.log" | head -n 60 >&2 || tail -n 40 "$dir/build.log" >&2
        fail "the build failed; see ${dir#"$TOP"/}/build.log"
    fi
    echo "Built in ${dir#"$TOP"/}/."
}
