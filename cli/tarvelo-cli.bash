# Bash completion for tarvelo-cli: commands, each command's options (read from its help, so
# they never go stale), and every option value that has a fixed set: setting names (from
# "settings list"), roll type names with auto (from "roll-types", with the library named by
# --roll-types when the line has one), presets, zoom levels and roll information entries.

_tarvelo_cli_escaped() {
  # Offers each line of standard input that starts with $1, escaped for the shell.
  local prefix=$1 line
  while IFS= read -r line; do
    [[ $line == "$prefix"* ]] && COMPREPLY+=("$(printf '%q' "$line")")
  done
}

_tarvelo_cli() {
  local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local commands="info convert align roll-types edit render histogram render-audio play settings"
  local command="" library=() i
  COMPREPLY=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --roll-types) library=(--roll-types "${COMP_WORDS[i+1]}") ;;
    esac
    if [[ -z $command && " $commands " == *" ${COMP_WORDS[i]} "* ]]; then command=${COMP_WORDS[i]}; fi
  done
  # The word being completed may be quoted; compare without its quotes.
  cur=${cur#[\'\"]}

  case $prev in
    --roll-type)
      # "auto" (the roll type the scan shows) and the library's roll types.
      _tarvelo_cli_escaped "$cur" < <(echo auto; "$program" roll-types "${library[@]}" 2>/dev/null)
      return 0 ;;
    --preset|--write-preset)
      COMPREPLY=($(compgen -W "$(seq 0 15)" -- "$cur"))
      return 0 ;;
    --zoom)
      COMPREPLY=($(compgen -W "$(seq 1 9)" -- "$cur"))
      return 0 ;;
    --set)
      _tarvelo_cli_escaped "$cur" < <("$program" settings list 2>/dev/null | sed 's/=.*/=/')
      compopt -o nospace 2>/dev/null
      return 0 ;;
    --source)
      COMPREPLY=($(compgen -W "expression eroll scanimage" -- "$cur"))
      return 0 ;;
    --format)
      COMPREPLY=($(compgen -W "wav flac" -- "$cur"))
      return 0 ;;
    --image-holes)
      COMPREPLY=($(compgen -W "light dark" -- "$cur"))
      return 0 ;;
    --image-start)
      COMPREPLY=($(compgen -W "bottom top" -- "$cur"))
      return 0 ;;
    --port)
      _tarvelo_cli_escaped "$cur" < <("$program" play --list-ports 2>/dev/null | cut -d' ' -f1)
      return 0 ;;
    --profile|--roll-types|--log|--catalog|-o|--output|--soundfont)
      compopt -o default 2>/dev/null
      return 0 ;;
    --output-dir)
      compopt -o dirnames 2>/dev/null
      return 0 ;;
    --info)
      local entries
      entries=$("$program" convert --help 2>/dev/null | sed -n '/^Roll information entries/,/^$/p' | tail -n +2 | tr ',' ' ')
      COMPREPLY=($(compgen -W "$entries" -S = -- "$cur"))
      compopt -o nospace 2>/dev/null
      return 0 ;;
  esac

  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return 0
  fi
  if [[ $cur == -* ]]; then
    local options
    options=$("$program" "$command" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return 0
  fi
  case $command in
    settings)
      local action=""
      for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in list|get|set) action=${COMP_WORDS[i]} ;; esac
      done
      if [[ -z $action ]]; then
        COMPREPLY=($(compgen -W "list get set" -- "$cur"))
      elif [[ $action == get ]]; then
        _tarvelo_cli_escaped "$cur" < <("$program" settings list 2>/dev/null | sed 's/=.*//')
      elif [[ $action == set ]]; then
        _tarvelo_cli_escaped "$cur" < <("$program" settings list 2>/dev/null | sed 's/=.*/=/')
        compopt -o nospace 2>/dev/null
      fi
      ;;
    roll-types)
      _tarvelo_cli_escaped "$cur" < <("$program" roll-types "${library[@]}" 2>/dev/null)
      ;;
    *)
      compopt -o default 2>/dev/null
      ;;
  esac
  return 0
}

complete -F _tarvelo_cli tarvelo-cli
