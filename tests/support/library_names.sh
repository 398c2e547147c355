#!/bin/sh
# Only the exports are global in both libraries: every global name defined in
# libtarq.a and in the dynamic table of libtarq.so is TQ_* or SHA256_*, apart
# from the C++ standard library's own instances (std::, operator new ...)
# that any C++ object may carry as weak symbols. Both libraries define the
# same exports.
# Usage: library_names.sh libtarq.a libtarq.so
set -eu
names() { awk 'NF >= 3 && $2 ~ /^[A-Z]$/ && $2 != "U" && $2 != "w" && $2 != "v" { print $3 }'; }
static=$(nm -g --defined-only "$1" | names | sort -u)
shared=$(nm -D --defined-only "$2" | names | sort -u)
exports() { grep -E '^(TQ_|SHA256_)' || true; }
stray=$(printf '%s\n%s\n' "$static" "$shared" | grep -v -E '^(TQ_|SHA256_)' |
        grep -v -E '^_Z(N|NK|T[VIS]|GV|TH|TW)?(St|Sa|Sd|Si|So|Ss|9__gnu_cxx|S_)' | grep -v -E '^(_init|_fini)$' || true)
if [ -n "$stray" ]; then
    echo "internal names are global:"; printf '%s\n' "$stray" | head -20
    exit 1
fi
a=$(printf '%s\n' "$static" | exports); s=$(printf '%s\n' "$shared" | exports)
if [ "$a" != "$s" ]; then
    echo "the libraries define different exports"; exit 1
fi
echo "$(printf '%s\n' "$a" | wc -l) exports, no other global names"
