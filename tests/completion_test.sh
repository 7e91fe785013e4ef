#!/usr/bin/env bash
# Completes muezzin-cli command lines the way bash does and compares what is offered.
# Arguments: the folder of muezzin-cli, the completion script.
set -uo pipefail
export PATH="$1:$PATH"
# shellcheck source=/dev/null
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch new.fmw old.bin mosque.ini
mkdir sub
# A port whose path holds blanks is still one candidate.
export MUEZZIN_PORTS="$work/ttyMuezzin0:$work/tty Muezzin 1"

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
expect "apply clock counties doctor find import-cities ports read-settings set-clock timetable upgrade" muezzin-cli ""
expect "--county" muezzin-cli apply --cou
expect "--county" muezzin-cli --port /dev/null apply --cou
expect "--profile-out" muezzin-cli read-settings --profile-
expect "--folder" muezzin-cli --fo
expect "$work/tty Muezzin 1 $work/ttyMuezzin0" muezzin-cli --port "$work/tty"
expect "json" muezzin-cli apply --format j
expect "csv json text" muezzin-cli timetable --county 37 --format ""
expect "--format" muezzin-cli timetable --year 1406 --for
expect "--county" muezzin-cli --format json apply --cou
expect "new.fmw sub" muezzin-cli upgrade ""
expect "mosque.ini" muezzin-cli apply --profile m
expect "sub" muezzin-cli --folder s
expect "" muezzin-cli apply --county ""
exit $failed
