#!/bin/sh
# tree plus ls of every folder on an ISO of 100,000 files in 1,000 folders,
# beside iso-info -l and 7-Zip's listing of the same image: wall time and
# peak memory of each, and the ratios.
set -e
BUILD=${1:-build-release}
CLI="$BUILD/src/cli/morvik-cli"
HERE=$(dirname "$0")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

python3 "$HERE/make_many_files.py" "$WORK/tree" 1000 100
genisoimage -quiet -J -o "$WORK/many.iso" "$WORK/tree"
rm -rf "$WORK/tree"

SEVEN=$(command -v 7zz || command -v 7z || true)

# Runs a command under /usr/bin/time -v; prints "seconds kilobytes".
measure() {
    /usr/bin/time -v "$@" >"$WORK/out" 2>"$WORK/time" || { echo "failed: $*" >&2; exit 1; }
    seconds=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$WORK/time" |
        awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
    kbytes=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$WORK/time")
    echo "$seconds $kbytes"
}

set -- $(measure "$CLI" tree "$WORK/many.iso"); tree_s=$1 tree_kb=$2
set -- $(measure "$CLI" ls -R "$WORK/many.iso" /); ls_s=$1 ls_kb=$2
rows=$(grep -c "	File	" "$WORK/out" || true)
set -- $(measure iso-info -l "$WORK/many.iso"); iso_s=$1 iso_kb=$2
if [ -n "$SEVEN" ]; then
    set -- $(measure "$SEVEN" l "$WORK/many.iso"); seven_s=$1 seven_kb=$2
fi

ours_s=$(echo "$tree_s $ls_s" | awk '{ print $1 + $2 }')
ours_kb=$(( tree_kb > ls_kb ? tree_kb : ls_kb ))
printf "%-26s %8s %10s\n" "" "seconds" "peak KiB"
printf "%-26s %8s %10s\n" "morvik-cli tree" "$tree_s" "$tree_kb"
printf "%-26s %8s %10s   (%s file rows)\n" "morvik-cli ls -R /" "$ls_s" "$ls_kb" "$rows"
printf "%-26s %8s %10s\n" "morvik-cli tree + ls -R" "$ours_s" "$ours_kb"
printf "%-26s %8s %10s\n" "iso-info -l" "$iso_s" "$iso_kb"
[ -n "$SEVEN" ] && printf "%-26s %8s %10s\n" "$(basename "$SEVEN") l" "$seven_s" "$seven_kb"
ratio() { echo "$1 $2" | awk '{ if ($2 > 0) printf "%.2f", $1 / $2; else print "n/a" }'; }
echo "time ratio   morvik/iso-info: $(ratio "$ours_s" "$iso_s")${SEVEN:+   morvik/7-Zip: $(ratio "$ours_s" "$seven_s")}"
echo "memory ratio morvik/iso-info: $(ratio "$ours_kb" "$iso_kb")${SEVEN:+   morvik/7-Zip: $(ratio "$ours_kb" "$seven_kb")}"
