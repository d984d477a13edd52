#!/usr/bin/env bash
# Makes the page templates that Orv copies into every album page from their readable
# sources here: head.html -> ../head.txt, tail.html -> ../tail.txt, in CP932 with CR LF
# line ends (the page is read as Shift_JIS and Orv copies template lines as CP932).
#   resources/page/make-templates.sh           rewrites resources/head.txt and tail.txt
#   resources/page/make-templates.sh --check   fails unless they match their sources
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
check=false
[[ ${1:-} == --check ]] && check=true
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

status=0
for name in head tail; do
  src=$here/$name.html
  if grep -q $'\r' "$src"; then
    echo "$src: holds a carriage return; keep the source in LF line ends" >&2
    exit 1
  fi
  iconv -f UTF-8 -t CP932 "$src" >"$work/$name.cp932"
  # glibc maps a few characters best-fit (U+00A5 to the backslash byte, U+2014 ...):
  # only a character that comes back unchanged may stay in the template.
  if ! iconv -f CP932 -t UTF-8 "$work/$name.cp932" | cmp -s - "$src"; then
    echo "$src: holds characters that CP932 cannot carry unchanged:" >&2
    iconv -f CP932 -t UTF-8 "$work/$name.cp932" | diff "$src" - >&2 || true
    exit 1
  fi
  sed 's/$/\r/' "$work/$name.cp932" >"$work/$name.txt"
  target=$here/../$name.txt
  if $check; then
    if ! cmp -s "$work/$name.txt" "$target"; then
      echo "resources/$name.txt does not match resources/page/$name.html: run resources/page/make-templates.sh" >&2
      status=1
    fi
  else
    cp "$work/$name.txt" "$target"
  fi
done
exit $status
