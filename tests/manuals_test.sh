#!/usr/bin/env bash
# Reads muezzin-cli's help and the man pages as a user does (man, 80 columns) and checks that
# every command's help and man section carry its usage, options and examples, that no line is
# wider than the terminal, and that each page lists only what its program uses.
# Arguments: muezzin-cli, the folder of the built man pages, then the other programs.
set -uo pipefail
cli=$1
pages=$2
shift 2
export LC_ALL=C.UTF-8
failed=0
fail() {
    echo "$*"
    failed=1
}

# As man shows it; groff's warnings are faults of the page.
render() {
    local warnings
    warnings=$(mktemp)
    MANWIDTH=80 MANPAGER=cat man --warnings -E UTF-8 -l "$1" 2>"$warnings"
    [[ -s $warnings ]] && fail "$1: $(cat "$warnings")"
    rm -f "$warnings"
}

narrow() { # what, text
    local width
    width=$(wc -L <<<"$2")
    ((width <= 80)) || fail "$1: a line of $width columns"
}

page=$(render "$pages/muezzin-cli.1.gz")
narrow "the man page" "$page"
for heading in NAME SYNOPSIS DESCRIPTION OPTIONS COMMANDS "EXIT STATUS" ENVIRONMENT FILES \
    EXAMPLES "SEE ALSO"; do
    grep -qx "$heading" <<<"$page" || fail "the man page has no $heading section"
done
for variable in MUEZZIN_PORTS XDG_DATA_HOME; do
    grep -q "^       $variable" <<<"$page" || fail "the man page does not explain $variable"
done
# Each entry once in its section (whatever its font), the start folder explained once: help2man
# adds the lists of the help to the sections that the program writes unless those take their place.
repeated=$(zcat "$pages/muezzin-cli.1.gz" | awk '/^\.S[HS] / {section = $0; next}
    term {term = 0; gsub(/\\f[A-Z]/, ""); if (seen[section, $0]++ == 1) print section ": " $0; next}
    /^\.TP/ {term = 1}')
[[ -z $repeated ]] || fail "the man page lists twice: $repeated"
folder=$(tr -s ' \n' '  ' <<<"$page" | grep -o "files are looked for in its start folder" | wc -l)
((folder == 1)) || fail "the man page explains the start folder $folder times"

commands=$("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p')
[[ -n $commands ]] || fail "muezzin-cli --help lists no command"
for command in $commands; do
    help=$("$cli" "$command" --help)
    narrow "$command --help" "$help"
    usage=$(head -n 1 <<<"$help")
    [[ $usage == "Usage: muezzin-cli $command [options]"* ]] || fail "$command: usage '$usage'"
    grep -qx "Examples:" <<<"$help" || fail "$command --help gives no example"

    # Its subsection of COMMANDS: from its heading to the next heading.
    section=$(awk -v name="   $command" '$0 == name {on = 1; next}
        on && (/^   [^ ]/ || /^[^ ]/) {exit} on' <<<"$page")
    if [[ -z $section ]]; then
        fail "the man page has no section for $command"
        continue
    fi
    grep -qF -- "${usage#Usage: }" <<<"$section" || fail "$command: no usage line in its section"
    while IFS= read -r argument; do
        grep -qE "^ {7}$(sed 's/[]*.^$[]/\\&/g' <<<"$argument")( |$)" <<<"$section" ||
            fail "the man page's section of $command lacks the argument $argument"
    done < <(sed -n '/^Arguments:/,/^$/s/^  \([^ ]\{1,\}\).*/\1/p' <<<"$help")
    options=$(sed -n '/^Options:/,/^$/p' <<<"$help" | grep -o -- '--[a-z][a-z-]*' | sort -u)
    for option in $options; do
        grep -q -- "^       $option" <<<"$section" ||
            fail "the man page's section of $command lacks $option"
    done
    while IFS= read -r example; do
        grep -qF -- "$example" <<<"$page" || fail "the man page lacks the example '$example'"
    done < <(sed -n '/^Examples:/,$s/^  \(muezzin-cli .*\)/\1/p' <<<"$help")
done

# By name, as from the PATH: the usage line holds the name the program was started by.
for program in "$@"; do
    name=$(basename "$program")
    narrow "$name --help" "$(PATH="$(dirname "$program"):$PATH" "$name" --help)"
done

# Each other page: what its program uses, nothing it does not.
timetable=$(render "$pages/muezzin-timetable.1.gz")
narrow "muezzin-timetable's page" "$timetable"
grep -q MUEZZIN_PORTS <<<"$timetable" && fail "muezzin-timetable's page lists MUEZZIN_PORTS"
grep -qx FILES <<<"$timetable" || fail "muezzin-timetable's page has no FILES section"
sim=$(render "$pages/muezzin-sim.1.gz")
grep -qx FILES <<<"$sim" && fail "muezzin-sim's page lists files of a start folder"
config=$(render "$pages/muezzin-config.1.gz")
grep -q MUEZZIN_PORTS <<<"$config" || fail "muezzin-config's page does not explain MUEZZIN_PORTS"
# The pages of the programs that read the city database credit its data.
credit="© OpenStreetMap contributors, available under the Open Database License (ODbL) 1.0"
for rendered in "$page" "$timetable" "$config"; do
    tr -s ' \n' '  ' <<<"$rendered" | grep -qF "$credit" ||
        fail "$(head -n 1 <<<"$rendered"): no credit of the city database's data"
done
exit $failed
