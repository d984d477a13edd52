#!/usr/bin/env bash
# Orv's set-up: installs what is missing (Debian 12, as root), builds, then starts Orv
# (`./build.sh run`) or runs every test (`./build.sh test`).
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic
  libtag1-dev libmpg123-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
test_packages=(xvfb xauth xdotool xclip x11-utils imagemagick lame chromium)
fuzz_packages=(clang-14 libclang-rt-14-dev llvm-14)  # libFuzzer, its sanitisers, symbols

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  # Node.js may come from elsewhere than Debian; only install it where there is none.
  if [[ " $* " == *" chromium "* ]] && ! command -v npm >/dev/null; then missing+=(nodejs npm); fi
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build() {  # build DIR [cmake options…]
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

case "${1:-}" in
  run)
    install_missing "${packages[@]}"
    build build
    exec build/bin/orv
    ;;
  test)
    install_missing "${packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}"
    if [[ -f tests/page/package.json ]]; then (cd tests/page && npm ci --no-audit --no-fund --silent); fi
    build build
    (cd build && ctest --output-on-failure -j"$(nproc)")
    # Once more under AddressSanitizer and UndefinedBehaviorSanitizer; the browser and
    # desktop tests drive whole programs and gain nothing from it.
    build build-asan -DORV_SANITIZE=ON -DORV_BENCHMARKS=OFF
    (cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$(nproc)" -LE 'browser|desktop')
    # Every fuzz target for a minute under libFuzzer, in build-fuzz/; a finding fails.
    fuzz/run.sh all 60
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
