#!/bin/sh
# Extracting a 1 GB tree of 2,000 files from an ISO image: morvik-cli beside
# 7-Zip, bsdtar and xorriso on the same image, all reading it from the page
# cache. $1 is the release build folder.
set -e
BUILD=${1:-build-release}
CLI=$(cd "$BUILD" && pwd)/src/cli/morvik-cli
WORK=${TMPDIR:-/tmp}/morvik-bench-extract
rm -rf "$WORK"
mkdir -p "$WORK/tree"
trap 'rm -rf "$WORK"' EXIT

# 2,000 files in 20 folders, 1 GB in all, sizes varying around 512 KiB.
python3 - "$WORK/tree" <<'PY'
import os, sys
root = sys.argv[1]
block = os.urandom(1 << 20)
for i in range(2000):
    folder = os.path.join(root, "dir%02d" % (i % 20))
    os.makedirs(folder, exist_ok=True)
    size = 262144 + (i * 7919) % 524288
    with open(os.path.join(folder, "file%04d.bin" % i), "wb") as f:
        f.write(block[i % 1024 * 512:][:size].ljust(size, b"x"))
PY
genisoimage -quiet -J -joliet-long -o "$WORK/tree.iso" "$WORK/tree"
rm -rf "$WORK/tree"
cat "$WORK/tree.iso" > /dev/null

# Seconds taken by the command, best of three; the output folder is emptied first.
timed() {
    best=""
    for run in 1 2 3; do
        rm -rf "$WORK/out"
        mkdir -p "$WORK/out"
        sync
        start=$(date +%s.%N)
        "$@" > /dev/null 2>&1
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}

ours=$(timed "$CLI" extract "$WORK/tree.iso" / "$WORK/out")
echo "morvik-cli extract: ${ours}s"
for tool in 7zz bsdtar xorriso; do
    command -v $tool > /dev/null || { echo "$tool: missing"; continue; }
    case $tool in
    7zz) t=$(timed 7zz x -y -o"$WORK/out" "$WORK/tree.iso") ;;
    bsdtar) t=$(timed bsdtar -xf "$WORK/tree.iso" -C "$WORK/out") ;;
    xorriso) t=$(timed xorriso -osirrox on -indev "$WORK/tree.iso" -extract / "$WORK/out") ;;
    esac
    echo "$tool: ${t}s  morvik/$tool = $(echo "scale=2; $ours / $t" | bc)"
done
