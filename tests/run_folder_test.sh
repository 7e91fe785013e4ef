#!/usr/bin/env bash
# The folder ./run works in, made as ./run makes it (scripts/run-folder) for a home whose data
# folder holds a technician's own files: those stay as they are, in that folder and in one named
# with MUEZZIN_WORK, while ./run's own folder follows the sample.
# Argument: the source folder.
set -uo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "$*"
    failed=1
}
same() { # file, expected content
    [[ -f $1 && $(<"$1") == "$2" ]] || fail "$1: expected '$2', found '$(cat "$1" 2>&1)'"
}

# A build's sample: its city database, and a timetable left by an older build.
build=$work/build
mkdir -p "$build/sample/data/1/1/1"
echo "sample db" >"$build/sample/city.db"
echo "sample year" >"$build/sample/data/1/1/1/1404.PTL"

# The technician's data folder, as the installed programs use it.
export HOME=$work/home
unset XDG_DATA_HOME MUEZZIN_WORK
data=$HOME/.local/share/muezzin-config
mkdir -p "$data/data/1/1/1"
echo "own db" >"$data/city.db"
echo "own key" >"$data/encryp.key"
echo "own year" >"$data/data/1/1/1/1404.PTL"

folder=$("$root/scripts/run-folder" "$build") || fail "run-folder failed"
[[ $folder == "$build/work" ]] || fail "./run's folder is '$folder', not $build/work"
same "$data/city.db" "own db"
same "$data/encryp.key" "own key"
same "$data/data/1/1/1/1404.PTL" "own year"
same "$folder/city.db" "sample db"
[[ ! -e $folder/data ]] || fail "$folder got timetables, which an apply computes"
cmp -s "$folder/ostan.txt" "$root/sample/ostan.txt" || fail "no sample ostan.txt in $folder"
[[ ! -e $folder/city.csv && ! -e $folder/CMakeLists.txt ]] || fail "$folder holds the sources"

# Its own folder follows the sample at the next start; the log stays.
echo "changed" >"$folder/city.db"
echo "log" >"$folder/log.txt"
"$root/scripts/run-folder" "$build" >/dev/null || fail "run-folder failed again"
same "$folder/city.db" "sample db"
same "$folder/log.txt" "log"

# A folder named with MUEZZIN_WORK gets only what it lacks.
MUEZZIN_WORK=$data "$root/scripts/run-folder" "$build" >/dev/null || fail "run-folder failed"
same "$data/city.db" "own db"
same "$data/encryp.key" "own key"
same "$data/data/1/1/1/1404.PTL" "own year"
cmp -s "$data/ostan.txt" "$root/sample/ostan.txt" || fail "the missing ostan.txt was not copied"
exit $failed
