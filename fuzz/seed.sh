#!/bin/sh
# fuzz/seed.sh TARGET CORPUS: copies small test images into CORPUS once.
target=$1
corpus=$2
[ -n "$(ls -A "$corpus" 2>/dev/null)" ] && exit 0
testdata=$(dirname "$0")/../../shared/testdata
find "$testdata" -type f -size -4M ! -name '*.md' ! -name '*.tsv' ! -name SHA256SUMS | while read -r f; do
    case "$f" in
    *.xz) xz -dc "$f" > "$corpus/$(basename "$f" .xz)" 2>/dev/null || true ;;
    *) cp "$f" "$corpus/" ;;
    esac
done
