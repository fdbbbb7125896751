#!/bin/bash
# The installed bash completion, driven as bash drives it at a Tab, with
# bash-completion's own helpers, in a scratch folder.
#   bash_completion_test.sh CLI COMPLETION_FILE
set -u
cli="$1"
source /usr/share/bash-completion/bash_completion
source "$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir sub
touch d.tlg notes.txt graph.png
failures=0

# expect LINE WANTED: what a Tab at the end of LINE (the program's name left
# out) offers, sorted and joined by spaces, is WANTED. Bash splits LINE into
# words at blanks and makes each "=" a word of its own.
expect() {
    local line="$cli $1" words
    COMP_LINE="$line"
    COMP_POINT=${#line}
    read -r -a COMP_WORDS <<< "${line//=/ = }"
    [[ "$line" == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tarelog_cli
    words="$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')"
    if [ "${words% }" != "$2" ]; then
        echo "FAIL: '$1' offers '${words% }', not '$2'"
        failures=$((failures + 1))
    fi
}

expect "im" "import import-csv"
expect "render d.tlg --no" "--no-profile"
expect "import d.tlg x.csv --format ga" "garmin"
expect "import d.tlg x.csv --format=trend" "trendweight trendweight-raw"
expect "render d.tlg --avg narrow,n" "narrow,normal"
expect "import d.tlg x.csv --keep " "earliest latest"
expect "dump " "d.tlg sub"
expect "render d.tlg -o " "graph.png sub"
expect "import d.tlg " "d.tlg graph.png notes.txt sub"
expect "resave -- d.tlg " "d.tlg sub"
expect "add d.tlg 2026-01-01 " ""
expect "frobnicate " ""

[ "$failures" -eq 0 ] || exit 1
echo "bash completion: every case offers what it should"
