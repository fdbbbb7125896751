# Bash completion for tarelog-cli: the verbs, then each verb's options and
# the files it reads or writes.
_tarelog_cli()
{
    local cur prev verb
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W "add dump export-csv import-csv render resave stats --help --version" -- "$cur"))
        return
    fi
    verb="${COMP_WORDS[1]}"
    case "$prev" in
        -o)
            case "$verb" in
                render) COMPREPLY=($(compgen -f -X '!*.@(png|svg|ops)' -- "$cur")) ;;
                *) COMPREPLY=($(compgen -f -X '!*.csv' -- "$cur")) ;;
            esac
            compopt -o plusdirs 2>/dev/null
            return ;;
        --format) COMPREPLY=($(compgen -W "auto tarelog openscale libra health trendweight" -- "$cur")); return ;;
        --avg) COMPREPLY=($(compgen -W "narrow normal wide narrow,normal narrow,wide normal,wide narrow,normal,wide" -- "$cur")); return ;;
        --style) COMPREPLY=($(compgen -W "1 2 3" -- "$cur")); return ;;
        --size|--color) return ;;
    esac
    if [[ "$cur" == -* ]]; then
        local options="--help"
        case "$verb" in
            export-csv) options="$options -o" ;;
            import-csv) options="$options --format --skip-bad --dry-run" ;;
            render) options="$options -o --size --avg --style --color --no-profile" ;;
            stats) options="$options --json" ;;
        esac
        COMPREPLY=($(compgen -W "$options --" -- "$cur"))
        return
    fi
    local pattern='!*.tlg'
    [ "$verb" = import-csv ] && [ "$COMP_CWORD" -ge 3 ] && pattern='!*.csv'
    COMPREPLY=($(compgen -f -X "$pattern" -- "$cur"))
    compopt -o plusdirs 2>/dev/null
}
complete -F _tarelog_cli tarelog-cli
