#!/bin/sh
# Disc scan throughput: morvik-cli scan of a 700 MB image beside dd reading
# the same file in 32 KiB blocks (the scan's chunk of 16 cooked sectors).
# Goal: the scan reaches at least 70% of dd's throughput.
set -e
BUILD_DIR=${1:-build-release}
CLI="$BUILD_DIR/src/cli/morvik-cli"
WORK=$(mktemp -d /tmp/morvik-bench-scan.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# 700 MB of incompressible sectors that open as a plain ISO image: a real
# volume descriptor set at the front, random data behind it.
IMAGE="$WORK/disc.iso"
echo scan > "$WORK/file.txt"
genisoimage -quiet -o "$WORK/head.iso" "$WORK/file.txt"
head -c 700M /dev/urandom > "$IMAGE"
dd if="$WORK/head.iso" of="$IMAGE" conv=notrunc status=none
BYTES=$(stat -c %s "$IMAGE")

now() { date +%s.%N; }
# Both read from the page cache: warm it first.
dd if="$IMAGE" of=/dev/null bs=32K status=none

dd_start=$(now)
dd if="$IMAGE" of=/dev/null bs=32K status=none
dd_end=$(now)

scan_start=$(now)
"$CLI" scan "$IMAGE" > "$WORK/rows.txt" 2>/dev/null
scan_end=$(now)
if [ "$(wc -l < "$WORK/rows.txt")" -ne 1 ]; then
    echo "scan listed unreadable sectors in a sound image" >&2
    exit 1
fi

awk -v b="$BYTES" -v d0="$dd_start" -v d1="$dd_end" -v s0="$scan_start" -v s1="$scan_end" 'BEGIN {
    d = d1 - d0; s = s1 - s0;
    dd = b / d / 1048576; scan = b / s / 1048576;
    printf "dd bs=32K:       %8.1f MB/s (%.3f s)\n", dd, d;
    printf "morvik-cli scan: %8.1f MB/s (%.3f s)\n", scan, s;
    printf "ratio:           %8.1f%% (goal >= 70%%)\n", 100 * scan / dd;
}'
