#!/usr/bin/env bash
# Rebuilds the seed corpora in fuzz/corpus/ from the test programs in
# tests/programs/, in the form each target reads its input:
#   tokenizer/  the program as UTF-16LE code units, no byte-order mark
#   runner/     one options byte (format and precision), then the program as UTF-8
#   decode/     the program as a file: UTF-8, UTF-8 with its mark, UTF-16LE with its mark
# Run it after adding or changing a test program, and commit the result.
# ini/ (for fuzz_ini) holds settings files written by hand and is left alone, and
# so do normalize/ (for fuzz_normalize: look-alike texts) and highlight/ (for
# fuzz_highlight: a caret unit, then a line), both as UTF-16LE.
set -euo pipefail
cd "$(dirname "$0")/.."
out=fuzz/corpus
rm -rf "$out"/{tokenizer,runner,decode}
mkdir -p "$out"/{tokenizer,runner,decode}

# The runner's options byte: format = byte % 5 (dec, bin, hex, roman, time),
# precision = 2 + (byte / 5 + 3) % 17. The byte for "format F, precision P".
options_byte() {
  local format=$1 precision=$2
  printf '%d' $(( ((precision - 5 + 17) % 17) * 5 + format ))
}

for f in tests/programs/*.txt; do
  name=$(basename "$f" .txt)
  format=0
  case "$(sed -n 's|^// format: ||p' "$f" | head -n1)" in
    bin) format=1 ;; hex) format=2 ;; roman) format=3 ;; time) format=4 ;;
  esac
  precision=$(sed -n 's|^// precision: ||p' "$f" | head -n1)
  precision=${precision:-5}
  (( precision < 2 )) && precision=2
  (( precision > 18 )) && precision=18
  iconv -f UTF-8 -t UTF-16LE "$f" > "$out/tokenizer/$name"
  { printf "\\$(printf '%03o' "$(options_byte $format "$precision")")"; cat "$f"; } > "$out/runner/$name"
  cp "$f" "$out/decode/$name.utf8"
  { printf '\xEF\xBB\xBF'; cat "$f"; } > "$out/decode/$name.bom8"
  { printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE "$f"; } > "$out/decode/$name.utf16"
done
echo "Seed corpora written to $out: $(ls "$out"/tokenizer | wc -l) programs"
