#!/bin/sh
# Builds the table file reader and writer under libFuzzer (clang,
# AddressSanitizer and UBSan) and runs it; five minutes unless a number of
# seconds is given.
# Installs clang and its libFuzzer runtime where they are missing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if ! dpkg-query -W -f='${Status}' clang libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed.*install ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi
seconds=${1:-300}
out="$root/build/fuzz"
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" \
    "$root/tests/files/core/FuzzTableReader.cpp" "$root/files/core/TableFile.cpp" "$root/files/core/Windows1252.cpp" \
    "$root/table/core/TableCells.cpp" "$root/table/core/PlainNumber.cpp" -o "$out/fuzz_table_reader"
# A table as written, one on a single line, and a short one to start from;
# and texts for the save (split at NUL): quotes and commas, the characters
# stored as others, ones Windows-1252 has beyond ASCII and ones it lacks.
printf '"1,5"\r\n%.0s' $(seq 71) > "$out/corpus/table"
printf '"a", 0.5 ,b,%.0s' $(seq 71) > "$out/corpus/commas"
printf '"1"\r\n"2' > "$out/corpus/short"
printf '1",5\000\342\210\2220,4\000 "\000"\000ab"c, "d\000\342\202\254\303\244\000\316\261\000\342\200\2571\tx' \
    > "$out/corpus/texts"
ASAN_OPTIONS=detect_leaks=1 "$out/fuzz_table_reader" -max_total_time="$seconds" -max_len=300000 \
    -rss_limit_mb=512 "$out/corpus"
