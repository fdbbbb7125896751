#!/bin/sh
# Writes tarelog.1.gz and tarelog-cli.1.gz into OUTDIR from the programs'
# own --help and --version, so the pages cannot drift from the programs.
# tarelog-cli's page gains a VERBS section made of each verb's --help.
# usage: make-man-pages.sh BINDIR OUTDIR
set -e
bin="$1"
out="$2"
# Called by name, so the pages show "tarelog", not the build folder.
PATH="$bin:$PATH"
export PATH

verbs="$out/tarelog-cli-verbs.h2m"
{
    echo "[VERBS]"
    for verb in $(tarelog-cli --help | sed -n 's/^  \([a-z-]*\) .*/\1/p'); do
        echo ".SS $verb"
        echo ".nf"
        # Backslashes and lines that start with a dot or a quote are roff's.
        tarelog-cli "$verb" --help | sed -e 's/\\/\\e/g' -e 's/^\([.'\'']\)/\\\&\1/'
        echo ".fi"
    done
} > "$verbs"

help2man --no-info --section 1 --name "body-weight diary with a graph" \
    --output "$out/tarelog.1" tarelog
help2man --no-info --section 1 --name "read, edit, convert and render Tarelog weight diaries" \
    --include "$verbs" --output "$out/tarelog-cli.1" tarelog-cli
gzip -9nf "$out/tarelog.1" "$out/tarelog-cli.1"
