# fish completion for tarelog-cli. Every word offered comes from the
# program itself (tarelog-cli --complete, fed by the verbs' option tables),
# so the verbs, options and layouts are those of the installed version.

# Files under the word being completed: folders, and the files whose name
# ends in one of the extensions ("png|svg"; empty for any file).
function __tarelog_cli_files -a current extensions
    for path in $current*
        if test -d $path
            echo $path/
        else if test -z "$extensions"; or string match -qr -- "\.($extensions)\$" $path
            echo $path
        end
    end
end

function __tarelog_cli_complete
    set -l current (commandline -ct)
    set -l words (commandline -opc) $current
    # fish keeps "--opt=value" as one word and wants all of it back.
    set -l prefix ''
    if string match -q -- '--*=*' $current
        set prefix (string replace -r '=.*' '=' -- $current)
    end
    for line in ($words[1] --complete (math (count $words) - 1) $words 2>/dev/null)
        switch $line
            case '@files'
                __tarelog_cli_files (string replace -- $prefix '' $current) ''
            case '@files *'
                __tarelog_cli_files (string replace -- $prefix '' $current) (string sub -s 8 -- $line)
            case '*'
                echo $prefix$line
        end
    end
end

complete -c tarelog-cli -f -a '(__tarelog_cli_complete)'
