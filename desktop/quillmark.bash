# bash completion for quillmark: its options, and for each option what it takes.
_quillmark()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
    --save | --print-pdf)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --format)
        mapfile -t COMPREPLY < <(compgen -W 'text lines csv json' -- "$cur")
        return
        ;;
    --paper)
        mapfile -t COMPREPLY < <(compgen -W 'A4 Letter Legal A5 A3' -- "$cur")
        return
        ;;
    --printer)
        mapfile -t COMPREPLY < <(compgen -W "$(lpstat -e 2>/dev/null)" -- "$cur")
        return
        ;;
    --attributes)
        # A comma-separated list: complete its last word, keep what comes before it.
        local last=${cur##*,}
        compopt -o nospace 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -P "${cur%"$last"}" \
            -W 'normal hidden system readonly archive' -- "$last")
        return
        ;;
    --separator | --header | --pattern | --copies)
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--save --format --separator --bom --print-pdf
            --print --printer --copies --paper --header --pattern --attributes --recursive
            --quiet --help --version' -- "$cur")
        return
    fi
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
}
complete -F _quillmark quillmark
