#!/usr/bin/env bash
# Bash's completion of orv as installed: each command line, with the cursor at its end,
# against what bash offers, in a folder with folders and files to complete.
#   completion_test.sh SHARE/bash-completion/completions/orv
set -uo pipefail
completion=$1
framework=/usr/share/bash-completion/bash_completion
[[ -f $framework ]] || { echo "bash-completion is not installed: ./build.sh test installs it" >&2; exit 1; }
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=/dev/null
source "$completion"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -- "Music" "My Albums" "-odd" && touch "Music notes.txt" "index.html"

# Outside a completion bash refuses compopt; what it sets is readline's business.
compopt() { :; }

failures=0
# offers 'LINE' 'EXPECTED…': the completions of LINE, sorted, one per argument. The words
# are split as bash splits them, "=" a word of its own.
offers() {
  local line=$1
  shift
  COMP_LINE=$line COMP_POINT=${#line}
  read -ra COMP_WORDS <<<"${line//=/ = }"
  [[ $line == *[\ =] ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _orv orv "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got want
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
  want=$(printf '%s\n' "$@" | LC_ALL=C sort)
  if [[ $got != "$want" ]]; then
    echo "FAIL: '$line' offers [${got//$'\n'/, }], not [${want//$'\n'/, }]" >&2
    failures=$((failures + 1))
  fi
}

offers 'orv -' --batch --help --version
offers 'orv --b' --batch
offers 'orv --batch --j' --jobs --json
offers 'orv --batch --c' --covers
offers 'orv --batch -r --in' --index=
offers 'orv --batch Mu' Music
offers 'orv --batch -r My' 'My Albums'
offers 'orv --batch --index ' -odd Music 'Music notes.txt' 'My Albums' index.html
offers 'orv --batch --index=in' index.html
offers 'orv --batch -j ' ''
offers 'orv --batch -rj ' ''
offers 'orv --batch -- -' -odd
((failures == 0)) && echo "PASS"
exit $((failures > 0))
