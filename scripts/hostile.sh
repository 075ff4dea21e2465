#!/usr/bin/env bash
# Runs the console runner on every class of hostile input at full size (10^6
# characters, a 200 MB file) and prints one line per case: exit status, time,
# peak memory and the end of the last output line. Each case must end with exit
# status 0, 1 or 2 within the time limit; the script fails otherwise.
# Usage: scripts/hostile.sh [SUMTRA_CLI]     (default: builds build/bin/sumtra-cli)
# Needs python3 (to write the inputs) and GNU time.
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-}
if [ -z "$cli" ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build build -j"${JOBS:-2}" --target sumtra-cli > /dev/null
  cli=build/bin/sumtra-cli
fi
limit=${HOSTILE_SECONDS:-120}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# gen NAME: writes the input of one class to $work/in (python3 for speed and clarity).
gen() {
  python3 - "$1" "$work/in" <<'PY'
import sys
k, path = sys.argv[1], sys.argv[2]
n = 10**6
def w(s, enc='utf-8'):
    with open(path, 'wb') as f:
        f.write(s.encode(enc) if isinstance(s, str) else s)
chain = lambda count, calls: 'f0(x):=x+1\n' + ''.join(
    'f%d(x):=%s\n' % (i, '+'.join(['f%d(x)' % (i - 1)] * calls)) for i in range(1, count)) + 'f%d(1)' % (count - 1)
cases = {
 'brackets': lambda: '(' * n + '1' + ')' * n,
 'unclosed brackets': lambda: '(' * n,
 'roots': lambda: '\u221a' * n + '4',
 'powers': lambda: '2^' * n + '1',
 'arguments': lambda: 'sin(' * n + '1' + ')' * n,
 'long sum': lambda: '+'.join(['1'] * n),
 'long line': lambda: '1' + ' ' * n + '+1',
 'many lines': lambda: '1\n' * n,
 'many lines, error last': lambda: '1\n' * n + 'y',
 'huge name': lambda: 'a' * n + ':=1\n' + 'a' * n,
 'numeral of 10^6 digits': lambda: '1' * n,
 'numeral 0.(10^6 digits)': lambda: '0.' + '3' * n,
 'numeral 10^5 digits, in range': lambda: '0.' + '0' * 10**5 + '5e100001',
 'exponent beyond int64': lambda: '1e' + '9' * 30,
 'negative exponent beyond int64': lambda: '1e-' + '9' * 30,
 'Roman of 10^5': lambda: '#' + 'M' * 10**5,
 'binary of 10^5': lambda: '&' + '1' * 10**5,
 'hex of 10^5': lambda: '$' + 'F' * 10**5,
 'hex zeros of 10^5': lambda: '$' + '0' * 10**5 + '1',
 'big factorial': lambda: '1e18! ; fact(1e4000)',
 'factorial, large negative': lambda: '(-99990.5)!',
 'factorials, large negative x 1000': lambda: '+'.join(['(-99990.5)!'] * 1000),
 'factorial, larger negative': lambda: '(-100000.5)!',
 'factorials with the most shifting x 1000': lambda: '+'.join(['(-3999.5)!'] * 1000),
 'factorial of a far negative pole': lambda: 'fact(-1e30)',
 'ceil/floor of huge values': lambda: 'ceil(1e4000)',
 'function chain of 10^5': lambda: chain(10**5, 1),
 'doubling chain of 40': lambda: chain(40, 2),
 'cycle': lambda: 'f(x):=g(x)\ng(x):=f(x)\nf(1)',
 'builtin with 10^6 arguments': lambda: 'mean(' + ','.join(['1'] * n) + ')',
 'one-argument builtin with 10^6': lambda: 'sin(' + ','.join(['1'] * n) + ')',
 'all 65536 code units (UTF-16)': lambda: b'\xff\xfe' + b''.join(bytes([c & 255, c >> 8]) for c in range(65536)),
 'lone surrogates (UTF-16)': lambda: b'\xff\xfe' + '1+'.encode('utf-16-le') + b'\x00\xd8' * n,
 'NUL bytes': lambda: b'\x00' * n,
 'byte-order marks inside': lambda: '1' + '\ufeff' * n,
 'invalid UTF-8': lambda: b'\xc0\x80\xed\xa0\x80\xf5\xff' * n,
 'odd-length UTF-16 file': lambda: b'\xff\xfe1\x00+\x001',
 'empty file': lambda: b'',
 '8 MB dense text (under the limit)': lambda: '1+' * (4 * 10**6) + '1',
 '200 MB file': lambda: '1+' * (100 * 10**6),
}
w(cases[k]())
PY
}

names=$(sed -n "s/^ '\([^']*\)': lambda.*/\1/p" "$0")
failed=0
printf '%-36s %6s %8s %9s  %s\n' class status seconds "peak MB" "end of output"
run_case() { # NAME ARGS...
  local name=$1; shift
  local start end status rss
  start=$(date +%s.%N)
  set +e
  /usr/bin/time -f '%M' -o "$work/rss" timeout "$limit" "$cli" "$@" > "$work/out" 2>&1 < "${stdin:-/dev/null}"
  status=$?
  set -e
  end=$(date +%s.%N)
  rss=$(( $(tail -n1 "$work/rss" | tr -dc 0-9) / 1024 ))
  printf '%-36s %6s %8.2f %9s  %s\n' "$name" "$status" "$(echo "$end - $start" | bc)" "$rss" \
    "$(tail -n1 "$work/out" | tail -c 90 | tr -d '\000')"
  [ "$status" -le 2 ] || failed=$((failed + 1))
}
while IFS= read -r name; do
  gen "$name"
  run_case "$name" "$work/in"
done <<< "$names"
gen '200 MB file'
stdin=$work/in run_case '200 MB on standard input' -
mkdir -p "$work/dir"
run_case 'directory' "$work/dir"
run_case 'missing file' "$work/missing.txt"
run_case 'endless device' /dev/zero
echo "hostile: $(( $(wc -l <<< "$names") + 4 - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]
