#!/usr/bin/env bash
# Remakes the fuzz corpora in fuzz/corpus/<target>/ from our own inputs: what tolmar-fuzz-seeds
# encodes, the hand-written text files under resources/, the fonts tools/vyfont made and the pictures
# tools/artgen drew for the classic set. Each target then merges the seeds into a minimal corpus (libFuzzer -merge=1), which
# replaces the committed one. Needs the fuzz build (scripts/fuzz.sh builds it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
BUILD="$TOLMAR_ROOT/build-fuzz"
SEEDS="$BUILD/seeds"

rm -rf "$SEEDS"
"$BUILD/fuzz/tolmar-fuzz-seeds" "$SEEDS"
mkdir -p "$SEEDS/fuzz_config_file"
for file in "$TOLMAR_ROOT"/resources/*/*.* "$TOLMAR_ROOT"/resources/sets/*/*.cfg; do
    cp "$file" "$SEEDS/fuzz_config_file/$(basename "$(dirname "$file")")-$(basename "$file")"
done
mkdir -p "$SEEDS/fuzz_color_scheme"
cp "$TOLMAR_ROOT"/resources/colors/*.color "$SEEDS/fuzz_color_scheme/"
mkdir -p "$SEEDS/fuzz_dialog"
cp "$TOLMAR_ROOT"/resources/dialogs/* "$SEEDS/fuzz_dialog/"
# The fonts our font tool made, plain and antialiased, small enough for the runs' -max_len.
mkdir -p "$SEEDS/fuzz_font"
find "$BUILD/resources/staging/fonts" -name '*.vyf' -size -60k -exec cp {} "$SEEDS/fuzz_font/" \;
# The artgen pictures small enough for the runs' -max_len.
find "$BUILD/apps/tolmar/art" -name '*.bmp' -size -60k -exec cp {} "$SEEDS/fuzz_bitmap/" \;

for seeds in "$SEEDS"/*/; do
    target="$(basename "$seeds")"
    corpus="$TOLMAR_ROOT/fuzz/corpus/$target"
    rm -rf "$corpus"
    mkdir -p "$corpus"
    "$BUILD/fuzz/$target" -merge=1 -max_len=70000 "$corpus" "$seeds" >"$BUILD/$target.merge.log" 2>&1
    echo "$target: $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KiB"
done
