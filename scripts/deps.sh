#!/usr/bin/env bash
# Installs what building and testing Quellin needs on a Debian machine.
# Sourced by scripts/test and scripts/run; does nothing when everything is present.
set -euo pipefail

QUELLIN_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    librtmidi-dev libjack-jackd2-dev libasound2-dev jackd2
    qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation
    xvfb xauth xdotool
    desktop-file-utils appstream shared-mime-info libxml2-utils man-db dpkg-dev
)

# Only scripts/fuzz needs these (clang and its libFuzzer runtime); the normal build does not.
QUELLIN_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

quellin_missing_packages() {
    local missing=()
    for p in "${QUELLIN_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    echo "${missing[@]:-}"
}

quellin_install_deps() {
    local missing
    missing=$(quellin_missing_packages)
    [ -z "$missing" ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    echo "Installing: $missing"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

quellin_configure_build() {
    local root="$1"
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build" -j "$(nproc)"
}
