#!/bin/bash
# Another program (the IDE) saves the project file while a run is under way.
# The program is stopped by the debugger where it replaces its first file, after
# it has read the project file; the project file is changed there, and the
# run goes on. The change must be kept, the run's reference added to it, and
# the connection file complete.
#
#   concurrent_writer.sh PROGRAM DOCUMENT-CHECK
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/fault_lib.sh"

parse_fault_arguments "$@"
command -v gdb >/dev/null || { echo "gdb is missing"; exit 1; }

# Runs the program under gdb, which runs the shell command whenever the
# program reaches replace_file (each time, or only the first time), then
# lets it go on.
run_with_writer() {
  local writer="$1" times="$2" script="$work_root/writer.gdb"
  shift 2
  {
    echo 'set breakpoint pending on'
    echo 'break addfolder::replace_file'
    echo 'commands'
    echo "shell $writer"
    [ "$times" = once ] && echo 'delete'
    echo 'continue'
    echo 'end'
    echo 'run'
  } >"$script"
  # LeakSanitizer cannot work under a debugger; the other tests look for leaks.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout "$run_time_limit" \
    gdb -q -batch -nx -x "$script" --args "$program" "$@" </dev/null >"$stdout_file" 2>"$stderr_file"
}

scenario "the IDE saves the project while a run adds the reference"
project=$(new_project)
cd "$project"
ide_entry='<file><name>$PROJ_DIR$\\saved-by-the-ide.c</name></file>'
run_with_writer "sed -i 's|</project>|$ide_entry</project>|' '$project/blinky.ewp'" once "$project" blinky --folder lib
grep -q 'exited normally' "$stdout_file" || fail "the run did not end well: $(tail -n 5 "$stdout_file" "$stderr_file")"
expect_loads blinky.ewp blinky.ipcf
grep -qF 'saved-by-the-ide.c' blinky.ewp || fail "the IDE's change was lost"
[ "$(grep -cF '<name>$PROJ_DIR$\blinky.ipcf</name>' blinky.ewp)" = 1 ] || fail "the project does not hold one reference"
expect_same_file "$here/../end_to_end/expected/blinky-create.ipcf" blinky.ipcf
expect_listing . "blinky.ewp blinky.ipcf lib main.c main.h"

scenario "a project that changes on every attempt: the run gives up with the EWP message, nothing written"
project=$(new_project)
cd "$project"
run_with_writer "echo '<!-- saved again -->' >>'$project/blinky.ewp'" always "$project" blinky --folder lib
grep -q 'exited with code 0377' "$stdout_file" || fail "the run did not end with -1: $(tail -n 5 "$stdout_file")"
grep -qxF 'Error: Error while accessing the required EWP file.' "$stderr_file" "$stdout_file" ||
  fail "no EWP message: $(cat "$stderr_file")"
[ "$(grep -c 'saved again' blinky.ewp)" = 4 ] || fail "not four attempts: $(grep -c 'saved again' blinky.ewp)"
grep -qF 'blinky.ipcf' blinky.ewp && fail "the reference was written"
expect_listing . "blinky.ewp lib main.c main.h"

finish
