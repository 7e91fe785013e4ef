#!/usr/bin/env bash
# Completes muezzin-cli command lines the way bash does and compares what is offered.
# Arguments: the folder of muezzin-cli, the completion script.
set -uo pipefail
export PATH="$1:$PATH"
export LC_ALL=C.UTF-8 # the order of what is offered
# shellcheck source=/dev/null
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/here"
cd "$work/here" || exit 1
touch new.fmw old.bin mosque.ini
mkdir sub
# A port whose path holds blanks is still one candidate.
export MUEZZIN_PORTS="$work/ttyMuezzin0:$work/tty Muezzin 1"
export HOME="$work" XDG_DATA_HOME="$work/data" # no start folder but the one named
# A start folder of three counties, named with --folder.
mkdir ../start
printf 'North\r\nSouth\r\n' >../start/ostan.txt
printf '%s\n' Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,Latitude \
    1,1,7,Hill,Seven,50,30 2,2,70,Dale,Seventy,51,31 2,2,8,Dale,Eight,51,31 >cities.csv
muezzin-cli --folder ../start import-cities cities.csv >/dev/null || exit 1
rm cities.csv

offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _muezzin_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

failed=0
expect() {
    local expected=$1
    shift
    local got
    got=$(offers "$@")
    if [[ $got != "$expected" ]]; then
        echo "completing '$*': expected '$expected', got '$got'"
        failed=1
    fi
}

expect "apply" muezzin-cli ap
expect "apply clock counties doctor export-cities find help import-cities ports read-settings set-clock timetable upgrade" muezzin-cli ""
expect "--all-ports --folder --format --help --port --quiet --verbose --version" muezzin-cli --
expect "apply" muezzin-cli help ap
expect "--county" muezzin-cli apply --cou
expect "--county" muezzin-cli --port /dev/null apply --cou
expect "--profile-out" muezzin-cli read-settings --profile-
expect "--folder --format" muezzin-cli --fo
expect "$work/tty Muezzin 1 $work/ttyMuezzin0" muezzin-cli --port "$work/tty"
expect "json" muezzin-cli apply --format j
expect "csv json text" muezzin-cli timetable --county 37 --format ""
expect "--format" muezzin-cli timetable --year 1406 --for
expect "--county" muezzin-cli --folder sub apply --format json --cou
expect "new.fmw sub" muezzin-cli upgrade ""
expect "mosque.ini" muezzin-cli apply --profile m
expect "sub" muezzin-cli --folder s
expect "7 (North / Hill / Seven) 70 (South / Dale / Seventy)" muezzin-cli --folder ../start apply --county 7
expect "8" muezzin-cli apply --folder ../start --county 8
expect "Seven Seventy" muezzin-cli --folder '~/start' apply --county Sev
exit $failed
