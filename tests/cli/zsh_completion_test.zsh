# The packaged zsh completion, with the completion system's builtins stood
# in for: what it hands them for a Tab at the end of each line.
#   zsh -f zsh_completion_test.zsh CLI COMPLETION_FILE
cli=$1
eval "_tarelog_cli() { $(<$2) }"

typeset -a calls
compadd() { [[ $1 == -a ]] && calls+=("compadd$IPREFIX ${(j: :)${(P)2}}"); return 0 }
_files() { calls+=("_files${*:+ $*}"); return 0 }
compset() {
  [[ $1 == -P && $PREFIX == *=* ]] || return 1
  IPREFIX=${PREFIX%%=*}=
  PREFIX=${PREFIX#*=}
}

# What the completion asks for at the end of `line` (a trailing space
# starts an empty word).
offered() {
  local -a words
  words=(${(z)1})
  [[ $1 == *' ' ]] && words+=('')
  words[1]=$cli
  local CURRENT=${#words} PREFIX=${words[-1]} IPREFIX=''
  calls=()
  _tarelog_cli
  print -r -- ${(j:; :)calls}
}

failures=0
for line expected in \
    'tarelog-cli im' 'compadd import import-csv' \
    'tarelog-cli render d.tlg --no' 'compadd --no-profile' \
    'tarelog-cli import d.tlg x.csv --format ga' 'compadd garmin' \
    'tarelog-cli import d.tlg x.csv --format=trend' 'compadd--format= trendweight-raw trendweight' \
    'tarelog-cli render d.tlg --avg narrow,n' 'compadd narrow,normal' \
    'tarelog-cli dump ' '_files -g *.(tlg)' \
    'tarelog-cli render d.tlg -o ' '_files -g *.(png|svg|ops)' \
    'tarelog-cli import d.tlg ' '_files' \
    'tarelog-cli add d.tlg 2026-01-01 ' ''; do
  got=$(offered $line)
  if [[ $got != "$expected" ]]; then
    print -r -- "FAIL: '$line' hands over '$got', not '$expected'"
    (( failures++ ))
  fi
done
(( failures == 0 )) || exit 1
print "zsh completion: every case hands over what it should"
