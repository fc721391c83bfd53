#!/usr/bin/env bash
# Sets up what is missing on a Debian 12 machine, builds, then runs the editor
# on the demo scenario (./build.sh run) or the whole test suite (./build.sh test),
# or runs every fuzzer for SECONDS each (./build.sh fuzz [SECONDS], default 60),
# or writes the Debian package build/quorantel_<version>_amd64.deb (./build.sh package).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
          libsdl2-mixer-dev libsdl2-dev fluid-soundfont-gm
          fonts-ipafont-gothic xvfb xauth
          qt6-translations-l10n libqt6svg6
          nlohmann-json3-dev libgtest-dev libgmock-dev libpng-dev zlib1g-dev)
# Tiled's command-line renderer, to check that Tiled draws our exported maps as we do.
packages+=(tiled)
# The Debian package and its test: CPack's dpkg-shlibdeps and file, the manual
# page writer, the checkers of the package, its menu entry and AppStream data,
# and xwininfo to find the editor's window class on a virtual screen.
packages+=(dpkg-dev file python3 man-db lintian desktop-file-utils appstream bash-completion x11-utils)

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

# clang and libFuzzer build the fuzzers (./build.sh fuzz, and the test command).
packages+=(clang libfuzzer-14-dev)
fuzzers=(scenario scenario_whole json settings picture commenttext tmx)

# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in build-fuzz.
build_fuzzers() {
    cmake -S "$root" -B build-fuzz -G Ninja -DQRN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build-fuzz -j "$(nproc)" --target fuzzers
}

# Runs each fuzzer for $1 seconds, going on after a crash until the time is
# spent, and prints "fuzz=NAME runs=N crashes=K". Crash inputs are kept in
# build-fuzz/fuzz/findings/NAME. Fails when any fuzzer crashed.
run_fuzzers() {
    local seconds=$1 total_crashes=0
    for name in "${fuzzers[@]}"; do
        local bin=build-fuzz/fuzz/fuzz_$name corpus=build-fuzz/fuzz/corpus/$name
        local findings=build-fuzz/fuzz/findings/$name log=build-fuzz/fuzz/$name.log
        mkdir -p "$corpus" "$findings"
        local runs=0 crashes=0 start=$SECONDS left=$seconds
        # Qt keeps allocations for the life of the process.
        local leaks=1
        case "$name" in settings|picture) leaks=0 ;; esac
        while [ "$left" -gt 0 ] && [ "$crashes" -lt 20 ]; do
            local before
            before=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
            "$bin" "$corpus" build-fuzz/fuzz/seeds/"$name" -max_total_time="$left" -timeout=30 \
                -rss_limit_mb=2560 -detect_leaks=$leaks -print_final_stats=1 -artifact_prefix="$findings/" \
                >"$log" 2>&1 || true
            runs=$((runs + $(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1 | grep -o '[0-9]*' || echo 0)))
            local after
            after=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
            if [ "$after" -gt "$before" ]; then
                crashes=$((crashes + after - before))
                grep -m3 -E 'ERROR|runtime error|SUMMARY' "$log" >&2 || true
            fi
            left=$((seconds - (SECONDS - start)))
        done
        echo "fuzz=$name runs=$runs crashes=$crashes"
        total_crashes=$((total_crashes + crashes))
    done
    [ "$total_crashes" -eq 0 ]
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
        # (no benchmarks there: their figures mean nothing under the sanitizers)
        build build-asan -DQRN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DQRN_BENCH=OFF
        (cd build-asan && ctest --output-on-failure)
        # A short run of every fuzzer on its seeds and what it finds nearby.
        build_fuzzers
        run_fuzzers 10
        ;;
    fuzz)
        build_fuzzers
        run_fuzzers "${2:-60}"
        ;;
    package)
        # A Release build of what the package holds (not the tests), in
        # build-release; CPack packs it there and the package goes to build/.
        cmake -S "$root" -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQRN_BENCH=OFF \
              -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
        cmake --build build-release -j "$(nproc)" --target quorantel quorantel-cli quorantel-cli-draw samples qrn_package_files
        (cd build-release && cpack -G DEB)
        mkdir -p build
        deb=quorantel_$(grep -oP 'set\(CPACK_PACKAGE_VERSION "\K[^"]*' build-release/CPackConfig.cmake)_amd64.deb
        cp "build-release/$deb" "build/$deb"
        echo "wrote build/$deb"
        ;;
    *)
        echo "usage: $0 [run|test|fuzz [SECONDS]|package]" >&2
        exit 2
        ;;
esac
