#!/usr/bin/env bash
# build.sh names the step that failed and shows its error. A copy of it runs against
# stand-ins for apt-get, npm and cmake, each failing in its turn as a real one would.
#   build_script_test.sh path/to/build.sh
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/tests/page" "$work/bin"
cp "$1" "$work/tree/build.sh"
echo '{}' >"$work/tree/tests/page/package.json"

# One stand-in for every command; $FAIL says which of them fails, with what message.
cat >"$work/bin/stand-in" <<'STAND_IN'
#!/usr/bin/env bash
command=$(basename "$0")
[[ $command == cmake && " $* " == *" --build "* ]] && command="cmake --build"
[[ $command == dpkg-query ]] && { [[ $FAIL == apt-get ]] || printf 'install ok installed'; exit 0; }
[[ $command == "$FAIL" ]] || exit 0
echo "$MESSAGE" >&2
exit 3
STAND_IN
chmod +x "$work/bin/stand-in"
for command in dpkg-query apt-get npm cmake ctest; do ln -s stand-in "$work/bin/$command"; done

failures=0
while IFS='|' read -r fail message expected; do
  status=0
  output=$(FAIL=$fail MESSAGE=$message PATH=$work/bin:$PATH bash "$work/tree/build.sh" test 2>&1) ||
    status=$?
  if ((status != 3)) || [[ $output != *"$expected"* || $output != *"$message"* ]]; then
    echo "FAIL: $fail: exit status $status, output:"$'\n'"$output" >&2
    failures=$((failures + 1))
  fi
done <<'CASES'
apt-get|E: Some index files failed to download. They have been ignored, or old ones used instead.|build.sh: apt-get update failed (exit status 3):
npm|npm ERR! code UNABLE_TO_GET_ISSUER_CERT_LOCALLY|build.sh: npm ci in tests/page failed (exit status 3):
cmake|CMake Error: Could not find a package configuration file provided by "Qt6"|build.sh: configuring the default build failed (exit status 3):
cmake --build|error: 'x' was not declared in this scope|build.sh: the default build failed (exit status 3); its messages are above.
ctest|The following tests FAILED: 1 - x (Failed)|build.sh: the tests of the default build failed (exit status 3); its messages are above.
CASES
((failures == 0)) && echo PASS
