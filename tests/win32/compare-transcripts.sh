#!/bin/sh
# Runs the transcript program against the Linux library and against tarq.dll
# under Wine, and fails when the two transcripts differ.
#   compare-transcripts.sh LINUX_PROGRAM LINUX_LIBRARY PREFIX WINDOWS_PROGRAM [SKIP]
# SKIP, a grep pattern, names the Linux lines that this DLL does not write
# (the 64-bit DLL has no 80-bit extended values).
set -u
[ $# -eq 4 ] || [ $# -eq 5 ] || { echo "usage: $0 LINUX_PROGRAM LINUX_LIBRARY PREFIX WINDOWS_PROGRAM [SKIP]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$4")
for f in "$1" "$2" "$4"; do
  [ -f "$f" ] || { echo "missing $f (build the Linux tree first)" >&2; exit 2; }
done
"$1" "$2" > "$out/transcript-linux.txt" </dev/null
rc_linux=$?
if [ $# -eq 5 ]; then
  grep -v -e "$5" "$out/transcript-linux.txt" > "$out/transcript-linux.tmp"
  mv "$out/transcript-linux.tmp" "$out/transcript-linux.txt"
fi
sh "$here/run-wine.sh" "$3" "$4" > "$out/transcript-win32.txt"
rc_win=$?
if [ $rc_linux -ne 0 ] || [ $rc_win -ne 0 ]; then
  echo "transcript programs ended with status $rc_linux (Linux) and $rc_win (Windows)"
  tail -5 "$out/transcript-linux.txt" "$out/transcript-win32.txt"
  exit 1
fi
lines=$(wc -l < "$out/transcript-linux.txt")
if ! grep -q "^end of transcript$" "$out/transcript-linux.txt"; then
  echo "the Linux transcript is incomplete"; exit 1
fi
if cmp -s "$out/transcript-linux.txt" "$out/transcript-win32.txt"; then
  echo "the Windows DLL and the Linux library agree on all $lines lines"
  exit 0
fi
echo "the Windows DLL and the Linux library differ (first differences; - Linux, + Windows):"
diff -u "$out/transcript-linux.txt" "$out/transcript-win32.txt" | head -60
echo "$(diff "$out/transcript-linux.txt" "$out/transcript-win32.txt" | grep -c '^[<>]') lines differ (of $lines)"
exit 1
