#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a
# given number of seconds, starting from the seed corpus in fuzz/corpus/.
# New inputs go to build-fuzz/corpus/<target>/, findings to
# build-fuzz/findings/<target>/. Exits non-zero when any target reports a
# finding (crash, sanitizer report, leak, timeout or memory blow-up).
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]     (default: 60 seconds, every target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
all_targets=(fuzz_tokenizer fuzz_runner fuzz_decode fuzz_normalize fuzz_highlight fuzz_ini)
if [ $# -gt 0 ]; then targets=("$@"); else targets=("${all_targets[@]}"); fi

# How long one input may run and how large it may be, per target. The runner's
# inputs stay small (it bounds them itself as well); the others are linear.
# The settings files stay small: every read goes to the file.
declare -A max_len=([fuzz_tokenizer]=65536 [fuzz_runner]=4097 [fuzz_decode]=65536
                   [fuzz_normalize]=65536 [fuzz_highlight]=65536 [fuzz_ini]=2048)
declare -A corpus_dir=([fuzz_tokenizer]=tokenizer [fuzz_runner]=runner [fuzz_decode]=decode
                      [fuzz_normalize]=normalize [fuzz_highlight]=highlight [fuzz_ini]=ini)

mkdir -p build-fuzz
log=build-fuzz/build.log
CC=${CC:-clang-14} CXX=${CXX:-clang++-14} cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUMTRA_FUZZ=ON -DSUMTRA_ENGINE_ONLY=ON -DSUMTRA_BUILD_TESTS=OFF \
  -DSUMTRA_SANITIZE=fuzzer-no-link,address,undefined > "$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build build-fuzz -j"${JOBS:-2}" --target "${targets[@]}" >> "$log" 2>&1 || { tail -50 "$log"; exit 1; }

failed=()
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/${corpus_dir[$t]}
  work=build-fuzz/corpus/${corpus_dir[$t]}
  findings=build-fuzz/findings/$t
  mkdir -p "$work" "$findings"
  echo "== $t: ${seconds}s"
  if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 UBSAN_OPTIONS=print_stacktrace=1 \
     LSAN_OPTIONS=suppressions=$PWD/tests/app/lsan-qt.supp:print_suppressions=0 \
     "build-fuzz/bin/$t" "$work" "$seeds" -max_total_time="$seconds" -max_len="${max_len[$t]}" \
       -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$findings/" \
       > "build-fuzz/$t.log" 2>&1; then
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "build-fuzz/$t.log" || true
  else
    tail -60 "build-fuzz/$t.log"
    echo "!! $t: finding saved in $findings/" >&2
    failed+=("$t")
  fi
done

echo "Fuzzing for ${seconds}s each: findings in ${#failed[@]} of ${#targets[@]} targets ${failed[*]:+(${failed[*]})}"
echo "fuzz: $(( ${#targets[@]} - ${#failed[@]} )) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
