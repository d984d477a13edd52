#!/usr/bin/env bash
# Orv's set-up: installs what is missing (Debian 12, as root), builds, then starts Orv
# (`./build.sh run`), runs every test (`./build.sh test`) or makes the Debian package
# build/orv_VERSION_amd64.deb (`./build.sh package`).
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic libxcb1-dev libwayland-dev
  libtag1-dev libmpg123-dev libjpeg-dev librsvg2-bin
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-mutagen  # the benchmarks' reference reader
)
test_packages=(xvfb xauth xdotool xclip x11-utils imagemagick lame chromium
  weston qt6-wayland bash-completion desktop-file-utils appstream lintian file
  at-spi2-core python3-pyatspi dbus-x11  # the window as a screen reader reads it
  qt6-gtk-platformtheme)  # GTK's file chooser, as on GNOME
fuzz_packages=(clang-14 libclang-rt-14-dev llvm-14)  # libFuzzer, its sanitisers, symbols

# step NAME COMMAND…: one step of the set-up, its output kept back unless it fails. Then
# the set-up names the step, shows what the command printed and ends with its status.
step() {
  local name=$1 log status=0
  shift
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  if ((status)); then
    echo "build.sh: $name failed (exit status $status):" >&2
    cat "$log" >&2
  fi
  rm -f "$log"
  ((status == 0)) || exit "$status"
}

# shown_step NAME COMMAND…: the same for a step whose output is shown as it comes.
shown_step() {
  local name=$1 status=0
  shift
  "$@" || status=$?
  if ((status)); then
    echo "build.sh: $name failed (exit status $status); its messages are above." >&2
    exit "$status"
  fi
}

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
    step "apt-get update" apt-get update -qq
    step "installing ${missing[*]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build() {  # build PRESET: the configure and build presets of CMakePresets.json
  step "configuring the $1 build" cmake --preset "$1"
  shown_step "the $1 build" cmake --build --preset "$1" -j"$(nproc)"
}

case "${1:-}" in
  run)
    install_missing "${packages[@]}"
    build default
    exec build/bin/orv
    ;;
  test)
    install_missing "${packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}"
    if [[ -f tests/page/package.json ]]; then
      step "npm ci in tests/page" env -C tests/page npm ci --no-audit --no-fund
    fi
    build default
    shown_step "the tests of the default build" ctest --preset default -j"$(nproc)"
    # Once more under AddressSanitizer and UndefinedBehaviorSanitizer, as `cmake --workflow
    # --preset asan` does.
    build asan
    shown_step "the tests of the asan build" ctest --preset asan -j"$(nproc)"
    # Every fuzz target for a minute under libFuzzer, built with clang in build-fuzz/; a
    # finding fails, its input saved and printed.
    build fuzz
    shown_step "the fuzz runs" fuzz/run.sh all 60
    ;;
  package)
    # CPack asks file(1) which installed files are binaries for dpkg-shlibdeps.
    install_missing "${packages[@]}" file
    build default
    shown_step "making the Debian package" env -C build cpack -G DEB
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
