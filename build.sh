#!/usr/bin/env bash
# Sets up what is missing on a Debian 12 machine, builds, then runs the editor
# on the demo scenario (./build.sh run) or the whole test suite (./build.sh test).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
          libsdl2-mixer-dev libsdl2-dev fluid-soundfont-gm
          fonts-ipafont-gothic xvfb xauth
          nlohmann-json3-dev libgtest-dev libgmock-dev)
# Tiled's command-line renderer, to check that Tiled draws our exported maps as we do.
packages+=(tiled)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {  # build DIR [cmake options...]
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

cmd=${1:-run}
install_missing
case "$cmd" in
    run)
        build build
        cmake --build build --target samples
        exec build/src/app/quorantel --resources build/samples/demo/resources build/samples/demo/demo.snr
        ;;
    test)
        build build
        (cd build && ctest --output-on-failure)
        # Everything once more under AddressSanitizer and UndefinedBehaviorSanitizer.
        build build-asan -DQRN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
        (cd build-asan && ctest --output-on-failure)
        ;;
    *)
        echo "usage: $0 [run|test]" >&2
        exit 2
        ;;
esac
