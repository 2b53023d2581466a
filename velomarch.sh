#!/usr/bin/env bash
# Set-up for a fresh Debian 12 machine: installs what is missing, builds, then plays or tests.
#   ./velomarch.sh play      build and start the game
#   ./velomarch.sh test      build and run every test (also under AddressSanitizer and UBSan)
#   ./velomarch.sh package   build the game's and the score server's Debian packages into dist/
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfontconfig-dev fonts-play
  libpng-dev zlib1g-dev libcairo2-dev libcurl4-openssl-dev libcpp-httplib-dev libsqlite3-dev libboost-dev
  libcli11-dev nlohmann-json3-dev libpq-dev
  libgl1-mesa-dri libegl1 libegl-mesa0
)
# What CPack needs to make the Debian packages (file and dpkg-shlibdeps find the libraries).
PACKAGING_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev libmicrohttpd-dev xvfb xauth xdotool openbox x11-apps
  python3 postgresql nginx-light heaptrack
  "${PACKAGING_PACKAGES[@]}" desktop-file-utils appstream man-db)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

build() { # build DIR [cmake options...]
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
  play)
    install_missing "${PACKAGES[@]}"
    build build -DVM_BUILD_TESTS=OFF -DVM_BUILD_BENCH=OFF
    exec ./build/velomarch
    ;;
  package)
    install_missing "${PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"
    build build -DVM_BUILD_TESTS=OFF -DVM_BUILD_BENCH=OFF
    rm -rf build/packages
    cpack --config build/CPackConfig.cmake -B build/packages
    mkdir -p dist
    rm -f dist/velomarch*.deb
    cp build/packages/*.deb dist/
    ls -l dist/*.deb
    ;;
  test)
    install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build build-test -DVM_BUILD_BENCH=ON
    (cd build-test && ctest --output-on-failure -j "$jobs")
    build build-sanitize -DVM_SANITIZE=ON -DVM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    # Every program checks for leaks at exit, leaving out only the other libraries' own allocations
    # listed in the file. A leak ends a program with status 23, which none of them uses, so a test
    # that expects a program to fail with 1 or 2 still sees the leak.
    suppressions=$(pwd)/tests/sanitizer/lsan.supp
    # The leak checker's own thread now and then crashes at exit ("Tracer caught signal") after a
    # test has passed; only tests that failed that way, and nothing else, are run once more.
    export UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
      LSAN_OPTIONS="suppressions='$suppressions':print_suppressions=0:exitcode=23"
    if ! (cd build-sanitize && ctest --output-on-failure -j "$jobs"); then
      flaky=$(python3 tests/sanitizer/tracer_crash_only.py build-sanitize) || exit 1
      echo "The leak checker crashed at exit in: $flaky; running those tests again."
      (cd build-sanitize && ctest --rerun-failed --output-on-failure -j "$jobs")
    fi
    # A run recorded by one build plays to the same end on the other, both ways.
    cross=autopilot_car1_seed2,pause_car0_seed13,pad_car1_seed15,wrecks_car0_seed1,quit_car2_seed17
    python3 tests/replay/replay_determinism.py --headless build-test/velomarch-headless \
      --replay-headless build-sanitize/velomarch-headless --data build-test --only "$cross"
    python3 tests/replay/replay_determinism.py --headless build-sanitize/velomarch-headless \
      --replay-headless build-test/velomarch-headless --data build-test --only "$cross"
    ;;
  *)
    echo "usage: $0 play|test|package" >&2
    exit 2
    ;;
esac
