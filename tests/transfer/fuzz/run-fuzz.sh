#!/usr/bin/env bash
# Builds the FTP reply fuzzer with clang (libFuzzer + ASan) from the ASCII-only
# portable sources and runs it for SECONDS (default 60) from the corpus.
#   run-fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
seconds=${1:-60}
out=${2:-$top/build/fuzz-transfer}
mkdir -p "$out/corpus"
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -I"$top" \
  "$here/ftp_reply_fuzzer.cpp" \
  "$top/transfer/portable/FtpReplyAssembler.cpp" \
  "$top/transfer/portable/FtpPasvReply.cpp" \
  "$top/transfer/portable/FtpCommandState.cpp" \
  "$top/transfer/portable/FtpLogLine.cpp" \
  "$top/common/portable/SysLogLine.cpp" \
  "$top/common/portable/Cp932.cpp" \
  -o "$out/ftp_reply_fuzzer"
# New inputs go to the build folder; the checked-in corpus stays as it is.
cd "$out"
./ftp_reply_fuzzer -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  "$out/corpus" "$here/corpus"
