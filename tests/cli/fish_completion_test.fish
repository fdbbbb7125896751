# The installed fish completion, asked as fish asks it at a Tab, in a
# scratch folder.
#   fish fish_completion_test.fish CLI COMPLETION_FILE
set -l cli $argv[1]
source $argv[2]
set -l scratch (mktemp -d)
cd $scratch
mkdir sub
touch d.tlg notes.txt graph.png
set -l failures 0

# What a Tab at the end of the line (after the program) offers, sorted.
function offered -a cli line
    complete -C "$cli $line" | sort | string join ' '
end

for case in \
        'im|import import-csv' \
        'render d.tlg --no|--no-profile' \
        'import d.tlg x.csv --format ga|garmin' \
        'import d.tlg x.csv --format=trend|--format=trendweight --format=trendweight-raw' \
        'render d.tlg --avg narrow,n|narrow,normal' \
        'dump |d.tlg sub/' \
        'render d.tlg -o |graph.png sub/' \
        'import d.tlg |d.tlg graph.png notes.txt sub/' \
        'add d.tlg 2026-01-01 |'
    set -l parts (string split '|' -- $case)
    set -l got (offered $cli $parts[1])
    if test "$got" != "$parts[2]"
        echo "FAIL: '$parts[1]' offers '$got', not '$parts[2]'"
        set failures (math $failures + 1)
    end
end
cd /
rm -rf $scratch
test $failures -eq 0; or exit 1
echo "fish completion: every case offers what it should"
