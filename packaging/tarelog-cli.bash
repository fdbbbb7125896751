# Bash completion for tarelog-cli. Every word offered comes from the
# program itself (tarelog-cli --complete, fed by the verbs' option tables),
# so the verbs, options and layouts are those of the installed version.
_tarelog_cli()
{
    local cur prev words cword split
    _init_completion -s || return
    local line
    COMPREPLY=()
    while IFS= read -r line; do
        case "$line" in
            @files) _filedir ;;
            "@files "*) _filedir "${line#@files }" ;;
            *) COMPREPLY+=("$line") ;;
        esac
    done < <("${words[0]}" --complete "$cword" "${words[@]}" 2>/dev/null)
}
complete -F _tarelog_cli tarelog-cli
