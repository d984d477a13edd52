#!/usr/bin/env bash
# The Debian package as users get it: builds it with CPack from the build tree, checks its
# files, its dependencies and what lintian says of it, then unpacks it into a bare folder
# and builds an album with the orv found there through its bin/orv link.
#
#   package_test.sh BUILD_DIR APP_ID SCREENSHOT.png
set -euo pipefail
build=$1
id=$2
screenshot=$3
here=$(dirname "$(readlink -f "$0")")

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in cpack file dpkg-deb dpkg-shlibdeps lintian Xvfb xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed: ./build.sh test installs it"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
deb=$(find "$work/out" -maxdepth 1 -name 'orv_*_amd64.deb')
[[ -f $deb ]] || fail "cpack made no orv_VERSION_amd64.deb"

# Every file and link with its mode and owner: nothing missing, nothing more.
expected="lrwxrwxrwx root/root ./usr/bin/orv -> ../lib/orv/orv
-rw-r--r-- root/root ./usr/lib/orv/head.txt
-rw-r--r-- root/root ./usr/lib/orv/jacket.jpg
-rwxr-xr-x root/root ./usr/lib/orv/orv
-rw-r--r-- root/root ./usr/lib/orv/tail.txt
-rw-r--r-- root/root ./usr/lib/systemd/user/orv-watch@.service
-rw-r--r-- root/root ./usr/share/applications/$id.desktop
-rw-r--r-- root/root ./usr/share/bash-completion/completions/orv
-rw-r--r-- root/root ./usr/share/doc/orv/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/orv/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/$id.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/16x16/apps/$id.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/$id.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/$id.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/$id.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/$id.svg
-rw-r--r-- root/root ./usr/share/man/man1/orv.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/$id.metainfo.xml"
byPath() { LC_ALL=C sort -k 3; }
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $3 = $4 = $5 = ""; print }' | tr -s ' ')
diff <(byPath <<<"$expected") <(byPath <<<"$actual") || fail "the package's files differ (< expected, > found)"

# names FIELD PACKAGE: the control field FIELD names PACKAGE.
names() {
  local value
  value=$(dpkg-deb -f "$deb" "$1")
  [[ ", $value," =~ ", $2"[\ ,] ]] || fail "$1 lacks $2: $value"
}
# The libraries come from dpkg-shlibdeps, the font and Qt's Japanese texts are named.
for p in libqt6widgets6 libtag1v5 libmpg123-0 libsqlite3-0 fonts-ipafont-gothic qt6-translations-l10n; do
  names Depends "$p"
done
# The desktop's own file chooser: GTK's theme recommended, the portal's suggested; and Qt's
# Wayland platform.
names Recommends qt6-gtk-platformtheme
names Recommends qt6-wayland
names Suggests qt6-xdgdesktopportal-platformtheme
# Debian's triggers refresh the menu and the icon cache: no maintainer scripts.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -vxE '\./|\./(control|md5sums)' || true)
[[ -z $scripts ]] || fail "the package has maintainer scripts: $scripts"

# Every tag is shown; only errors fail.
lintianPassed=true
report=$(lintian --fail-on error --display-info --pedantic --display-experimental \
  --tag-display-limit 0 "$deb" 2>&1) || lintianPassed=false
grep -v 'running with root privileges' <<<"$report" || true
$lintianPassed || fail "lintian reports errors"

dpkg-deb -x "$deb" "$work/root"
# The user service of a watched library, as systemd reads it, where systemd is at hand:
# with the unpacked program in place of the one systemd would find on its own path.
unit="$work/root/usr/lib/systemd/user/orv-watch@.service"
if command -v systemd-analyze >/dev/null; then
  instance="$work/orv-watch@$(systemd-escape --path /srv/music).service"
  sed "s|^ExecStart=orv |ExecStart=$work/root/usr/bin/orv |" "$unit" >"$instance"
  mkdir "$work/runtime"
  # It passes what it only warns of (a setting it can't read, and ignores): none is allowed.
  verified=$(XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --user verify --man=no "$instance" 2>&1) &&
    [[ -z $verified ]] || fail "systemd-analyze finds fault with orv-watch@.service: $verified"
fi
grep -qx 'ExecStart=orv --batch --recursive --watch "--index=%f/index.html" "%f"' "$unit" ||
  fail "orv-watch@.service does not watch its instance's folder"
"$here/../app/desktop_build_test.sh" "$work/root/usr/bin/orv" "$screenshot" \
  "$work/root/usr/share/applications/$id.desktop"
