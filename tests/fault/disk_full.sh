#!/bin/bash
# A full disk, made by a file size limit (ulimit -f, in KiB): a write that
# does not fit fails. The run must say so, end with -1, leave the project
# file and the connection file exactly as they were, and leave nothing else.
#
#   disk_full.sh PROGRAM DOCUMENT-CHECK
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/fault_lib.sh"

parse_fault_arguments "$@"

connection_error="Error: Error while accessing the required IPCF file."
project_error="Error: Error while accessing the required EWP file."

scenario "create mode: the connection file does not fit"
project=$(new_project)
cd "$project"
make_sources lib/many 60 source
run_limited -f 1 "lib" "$project" blinky
expect_exit 255
expect_stderr_line "$connection_error"
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_listing . "blinky.ewp lib main.c main.h"
run_program "lib" "$project" blinky
expect_exit 0
expect_loads blinky.ewp blinky.ipcf

scenario "create mode: a connection file already there is kept"
project=$(new_project)
cd "$project"
make_sources lib/many 60 source
echo "written by hand" >blinky.ipcf
run_limited -f 1 "lib" "$project" blinky
expect_exit 255
expect_stderr_line "$connection_error"
expect_same_file "$examples/blinky.ewp" blinky.ewp
expect_content "written by hand" blinky.ipcf
expect_listing . "blinky.ewp blinky.ipcf lib main.c main.h"

scenario "create mode: an old project file larger than the limit comes back"
# Comments and CR LF line ends make the old file larger than the limit and
# the rewritten one smaller, so its old bytes could not be written again.
project=$(new_project)
cd "$project"
make_sources lib/many 60 source
{
  printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<!-- %s -->\r\n' "$(printf 'x%.0s' {1..900})"
  sed 's/$/\r/' "$examples/blinky.ewp" | tail -n +2
} >blinky.ewp
cp blinky.ewp "$work_root/large-old.ewp"
run_limited -f 1 "lib" "$project" blinky
expect_exit 255
expect_stderr_line "$connection_error"
expect_same_file "$work_root/large-old.ewp" blinky.ewp
expect_listing . "blinky.ewp lib main.c main.h"

scenario "extend mode: the connection file outgrows the limit"
project=$(new_project)
cd "$project"
run_program "lib" "$project" blinky
expect_exit 0
cp blinky.ewp "$work_root/linked.ewp"
cp blinky.ipcf "$work_root/small.ipcf"
make_sources lib/many 60 source
run_limited -f 1 "lib" "$project" blinky
expect_exit 255
expect_stderr_line "$connection_error"
expect_same_file "$work_root/linked.ewp" blinky.ewp
expect_same_file "$work_root/small.ipcf" blinky.ipcf
expect_listing . "blinky.ewp blinky.ipcf lib main.c main.h"

scenario "the project file does not fit"
project=$(new_project)
cd "$project"
sed "s|<fileVersion>3</fileVersion>|<fileVersion>3</fileVersion><notes>$(printf 'n%.0s' {1..1500})</notes>|" \
  "$examples/blinky.ewp" >blinky.ewp
cp blinky.ewp "$work_root/notes.ewp"
run_limited -f 1 "lib" "$project" blinky
expect_exit 255
expect_stderr_line "$project_error"
expect_same_file "$work_root/notes.ewp" blinky.ewp
expect_listing . "blinky.ewp lib main.c main.h"

finish
