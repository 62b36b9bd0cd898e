# Helpers for the end-to-end tests: a fresh copy of the example project per
# scenario, the program run with typed input, and checks that name what failed.

examples="$(cd "$here/../../examples/blinky" && pwd)"
# The version that project() in CMakeLists.txt gives the programs.
version="$(sed -n 's/^project(addfolder VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")"
[ -n "$version" ] || { echo "CMakeLists.txt names no version in project()"; exit 2; }
work_root="$(mktemp -d "${TMPDIR:-/tmp}/addfolder-e2e.XXXXXX")"
trap 'chmod -R u+w "$work_root" 2>/dev/null; rm -rf "$work_root"' EXIT
failures=0
current=""
stdout_file="$work_root/stdout"
stderr_file="$work_root/stderr"
exit_code=0
wine=no
program=""

parse_program_arguments() {
  if [ "${1:-}" = "--wine" ]; then
    wine=yes
    shift
    export WINEPREFIX="${WINEPREFIX:-$work_root/wineprefix}"
    # Wine reads arguments and file names in the locale's encoding, and the
    # tests write them in UTF-8.
    export LC_ALL=C.UTF-8
  fi
  [ -f "${1:-}" ] || { echo "no program at ${1:-(none given)}"; exit 2; }
  program="$(absolute_path "$1")"
  # Wine makes its prefix on first use and says so on standard error; that
  # happens here, not in the first scenario.
  if [ "$wine" = yes ]; then
    invoke --version >/dev/null 2>&1 </dev/null
    keep_wine_server
  fi
}

# Wine's server ends a few seconds after its last program, and a program that
# starts just then can lose its connection ("wine client error:0: recvmsg:
# Connection reset by peer") and fail for no fault of its own. So one server
# serves the whole script, and is stopped at its end.
keep_wine_server() {
  local wineserver
  wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
  timeout 30 "$wineserver" -k 2>/dev/null
  timeout 30 "$wineserver" -w 2>/dev/null
  "$wineserver" -p
  trap 'timeout 30 "'"$wineserver"'" -k 2>/dev/null; chmod -R u+w "$work_root" 2>/dev/null; rm -rf "$work_root"' EXIT
}

# The absolute path of a file, since the tests change folders.
absolute_path() {
  echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
}

scenario() {
  current="$1"
  echo "-- $current"
}

fail() {
  echo "   FAILED: $*"
  failures=$((failures + 1))
}

# A fresh copy of the example project; prints its folder.
new_project() {
  local folder
  folder="$(mktemp -d "$work_root/project.XXXXXX")/blinky"
  cp -R "$examples" "$folder"
  echo "$folder"
}

# The project directory as the IDE would pass it to this build.
project_argument() {
  if [ "$wine" = yes ]; then
    echo "Z:$(echo "$1" | tr / '\\')"
  else
    echo "$1"
  fi
}

separator() {
  if [ "$wine" = yes ]; then echo '\'; else echo /; fi
}

# How long one run of the program may take, in seconds.
run_time_limit=120

# Runs the program, never for longer than run_time_limit.
invoke() {
  if [ "$wine" = yes ]; then
    timeout --kill-after=5 "$run_time_limit" "$here/../../scripts/wine-run" "$program" "$@"
  else
    timeout --kill-after=5 "$run_time_limit" "$program" "$@"
  fi
}

# Runs the program with the given text typed at the prompt (one line each).
run_program() {
  local input="$1"
  shift
  printf '%s\n' "$input" | invoke "$@" >"$stdout_file" 2>"$stderr_file"
  exit_code=$?
}

run_program_without_input() {
  invoke "$@" </dev/null >"$stdout_file" 2>"$stderr_file"
  exit_code=$?
}

expect_exit() {
  [ "$exit_code" = "$1" ] || fail "exit code $exit_code, expected $1; stderr: $(cat "$stderr_file")"
}

expect_same_file() {
  if [ ! -f "$2" ]; then
    fail "$2 is missing"
  elif ! cmp -s "$1" "$2"; then
    fail "$2 differs from $(basename "$1"):"
    diff "$1" "$2" | head -20 | sed 's/^/      /'
  fi
}

expect_content() {
  [ "$(cat "$2" 2>/dev/null)" = "$1" ] || fail "$2 does not hold '$1'"
}

expect_missing() {
  [ ! -e "$1" ] || fail "$1 exists"
}

# The files were not written in the last minute.
expect_older_than_a_minute() {
  local file
  for file in "$@"; do
    [ $(($(date +%s) - $(stat -c %Y "$file"))) -gt 60 ] || fail "$file was written"
  done
}

expect_no_stderr() {
  [ ! -s "$stderr_file" ] || fail "unexpected standard error: $(cat "$stderr_file")"
}

# The whole of standard output, line ends aside, is this text.
expect_stdout() {
  [ "$(tr -d '\r' <"$stdout_file")" = "$1" ] || fail "standard output is '$(cat "$stdout_file")', expected '$1'"
}

expect_stdout_line() {
  tr -d '\r' <"$stdout_file" | grep -qxF -- "$1" || fail "no line '$1' on standard output: $(cat "$stdout_file")"
}

# Standard output is exactly these lines.
expect_stdout() {
  [ "$(tr -d '\r' <"$stdout_file")" = "$1" ] || fail "standard output is not '$1' but: $(cat "$stdout_file")"
}

expect_stderr_line() {
  tr -d '\r' <"$stderr_file" | grep -qxF -- "$1" || fail "no line '$1' on standard error: $(cat "$stderr_file")"
}

# A line on standard error begins with this text.
expect_stderr_line_starting() {
  tr -d '\r' <"$stderr_file" | prefix="$1" awk 'index($0, ENVIRON["prefix"]) == 1 { found = 1 } END { exit !found }' ||
    fail "no line begins with '$1' on standard error: $(cat "$stderr_file")"
}

# The names in a folder, sorted, as one line: nothing more may be left there.
expect_listing() {
  local listing
  listing=$(ls -A "$1" | sort | tr '\n' ' ' | sed 's/ $//')
  [ "$listing" = "$2" ] || fail "$1 holds '$listing', expected '$2'"
}

# A chain of folders below the folder whose path is longer than the host
# can open (4,096 bytes on Linux, which Wine's paths end in too), with a
# source and a header at the bottom.
make_too_deep() {
  local name
  name=$(printf 'n%.0s' $(seq 200))
  (cd "$1" && for _ in $(seq 22); do mkdir "$name" && cd "$name" || return; done && touch deep.c deep.h)
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all scenarios passed"
}
