#!/usr/bin/env bash
# Runs the fuzz targets under libFuzzer, built with clang 14 and the address and
# undefined-behaviour sanitisers into build-fuzz/ (the preset "fuzz", configured and built
# here when needed).
#
#   fuzz/run.sh TARGET SECONDS   one target, e.g. fuzz/run.sh track_details 1800
#   fuzz/run.sh all SECONDS      every target, two at a time (./build.sh test runs this)
#
# Targets: track_details, eight_bit_text, album_page, play_time. The committed seeds
# (fuzz/TARGET/corpus) and past findings (fuzz/TARGET/regressions) are only read; inputs
# that reach new code collect in build-fuzz/corpus/TARGET. An input that fails a check,
# crashes, leaks or takes more than 10 s is saved in build-fuzz/findings/TARGET/, printed
# in the log, and the run fails: fix the fault and commit the input to
# fuzz/TARGET/regressions/, where CTest replays it in every test run.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

targets=(track_details eight_bit_text album_page play_time)
if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ || ! " all ${targets[*]} " == *" $1 "* ]]; then
  (IFS='|' && echo "usage: $0 all|${targets[*]} SECONDS" >&2)
  exit 2
fi
seconds=$2
out=build-fuzz

mkdir -p "$out"
(
  flock 9  # one build at a time when several runs start together
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j"$(nproc)"
) 9>"$out/build.lock"

export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer-14 || true)}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# Qt, TagLib and libmpg123 come without frame pointers, so the sanitiser's fast unwinder
# takes stray stack words for callers beyond their frames: every allocation made there
# would keep a new "stack" for good, and a run would grow by about 1 KB per input (2 GB
# in half an hour). Two frames still say where memory came from; the whole stacks are
# one rerun away (build-fuzz/fuzz/fuzz_TARGET INPUT).
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2}

# run TARGET: fuzzes it for $seconds; its log goes to $out/logs/TARGET.log.
run() {
  local target=$1 corpus=$out/corpus/$1 findings=$out/findings/$1 log=$out/logs/$1.log
  mkdir -p "$corpus" "$findings" "$out/logs"
  touch "$out/logs/$target.start"
  local inputs=("fuzz/$target/corpus")
  [[ -d fuzz/$target/regressions ]] && inputs+=("fuzz/$target/regressions")
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048
    -artifact_prefix="$findings/" -print_final_stats=1)
  [[ -f fuzz/$target/$target.dict ]] && options+=(-dict="fuzz/$target/$target.dict")
  [[ $target == track_details ]] && options+=(-max_len=16384)
  "$out/fuzz/fuzz_$target" "${options[@]}" "$corpus" "${inputs[@]}" >"$log" 2>&1
}

# report TARGET STATUS: the run's figures, or the finding with its input.
report() {
  local target=$1 status=$2 log=$out/logs/$1.log
  if ((status == 0)); then
    echo "fuzz $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)"
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" |
      sed "s/^/  /"
    return 0
  fi
  echo "fuzz $target: FINDING (exit status $status); log $log:"
  grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)' "$log" | tail -80
  find "$out/findings/$target" -type f -newer "$out/logs/$target.start" | while read -r input; do
    echo "input saved as $input ($(stat -c %s "$input") bytes); rerun: $out/fuzz/fuzz_$target $input"
    echo "base64:"
    head -c 65536 "$input" | base64 -w 100
  done
  return 1
}

[[ $1 == all ]] && chosen=("${targets[@]}") || chosen=("$1")
parallel=$(($(nproc) < 2 ? 1 : 2))
failed=0
for ((i = 0; i < ${#chosen[@]}; i += parallel)); do
  batch=("${chosen[@]:i:parallel}")
  pids=()
  for target in "${batch[@]}"; do
    run "$target" &
    pids+=($!)
  done
  for j in "${!batch[@]}"; do
    status=0
    wait "${pids[j]}" || status=$?
    report "${batch[j]}" "$status" || failed=1
  done
done
exit "$failed"
