#!/bin/sh
# fuzz/seed.sh TARGET CORPUS: fills an empty CORPUS with small inputs that
# suit TARGET: sheets whose data file is renamed to the one the target
# writes, Nero images, plain ISO 9660 and UDF images from the shared test
# images and from genisoimage and mkudffs.
target=$1
corpus=$2
[ -n "$(ls -A "$corpus" 2>/dev/null)" ] && exit 0
here=$(dirname "$0")
testdata=$here/../../shared/testdata
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Sheets name the fixed data file of the sheet targets.
sheets() {
    find "$testdata" -type f -name "*.$1" | while read -r f; do
        sed -E 's/^([[:space:]]*(FILE|DATAFILE|AUDIOFILE))[[:space:]]+"[^"]*"/\1 "disc.bin"/' "$f" \
            > "$corpus/$(echo "$f" | md5sum | cut -c1-12).$1"
    done
}

# Plain images of 2048-byte sectors up to 4 MiB, unpacked where packed.
plain_images() {
    find "$testdata/iso9660" "$testdata/udf" -type f -size -4M | while read -r f; do
        name=$(basename "$f")
        case "$f" in
        *.xz) xz -dc "$f" > "$corpus/${name%.xz}" 2>/dev/null || rm -f "$corpus/${name%.xz}" ;;
        *.Z) uncompress -c "$f" > "$corpus/${name%.Z}" 2>/dev/null || rm -f "$corpus/${name%.Z}" ;;
        *) cp "$f" "$corpus/" ;;
        esac
    done
    mkdir -p "$scratch/tree/a/b/c" && echo one > "$scratch/tree/a/one.txt" && echo two > "$scratch/tree/a/b/c/two"
    if command -v genisoimage >/dev/null; then
        genisoimage -quiet -J -R -o "$corpus/made-joliet-rr.iso" "$scratch/tree" 2>/dev/null
        genisoimage -quiet -o "$corpus/made-plain.iso" "$scratch/tree" 2>/dev/null
        genisoimage -quiet -udf -o "$corpus/made-udf-bridge.iso" "$scratch/tree" 2>/dev/null
    fi
    if command -v mkudffs >/dev/null; then
        for media in hd cdr cdrw dvdram bdr; do
            truncate -s 2M "$scratch/$media.img"
            mkudffs --media-type=$media --blocksize=2048 "$scratch/$media.img" >/dev/null 2>&1 &&
                cp "$scratch/$media.img" "$corpus/made-udf-$media.img"
        done
    fi
    # Keep only what fits the fuzzers' input length.
    find "$corpus" -type f -size +4M -delete
}

case "$target" in
fuzz_cue) sheets cue ;;
fuzz_cdrdao_toc) sheets toc ;;
fuzz_nrg) find "$testdata/nrg" -type f -size -4M -exec cp {} "$corpus/" \; ;;
fuzz_clonecd) python3 "$here/seed_images.py" clonecd "$corpus" ;;
fuzz_alcohol) python3 "$here/seed_images.py" alcohol "$corpus" ;;
fuzz_probe | fuzz_extract) plain_images ;;
*)
    sheets cue
    sheets toc
    find "$testdata/nrg" -type f -size -4M -exec cp {} "$corpus/" \;
    python3 "$here/seed_images.py" clonecd "$corpus"
    python3 "$here/seed_images.py" alcohol "$corpus"
    plain_images
    ;;
esac
