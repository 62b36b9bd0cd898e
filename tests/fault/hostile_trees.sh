#!/bin/bash
# Trees that a walk can trip over: very deep, paths past the platform's
# limit, links that loop, a FIFO with a source name, names full of XML's
# reserved characters. Every run ends in bounded time, and whatever cannot be
# listed is reported, never left out silently.
#
#   hostile_trees.sh PROGRAM             the Linux program
#   hostile_trees.sh --wine PROGRAM.EXE  addfolder-cli.exe under Wine
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/fault_lib.sh"

parse_fault_arguments "$@"

# The connection file holds a text (which may span lines).
holds() {
  local content
  content=$(cat blinky.ipcf)
  [[ "$content" == *"$1"* ]]
}

# The connection file lists a path text, as it is escaped in the file.
expect_listed() {
  holds "<path>\$PROJ_DIR\$\\$1</path>" || fail "blinky.ipcf does not list $1"
}

# A second run on the same tree writes the same bytes.
expect_second_run_same() {
  cp blinky.ipcf "$work_root/first.ipcf"
  run_program "$1" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_same_file "$work_root/first.ipcf" blinky.ipcf
}

# A file below a path too long for the platform is listed whole, or the
# folder that could not be read is named on standard error.
expect_listed_or_reported() {
  if holds "<path>\$PROJ_DIR\$\\$1</path>"; then
    echo "   listed whole"
  elif tr -d '\r' <"$stderr_file" | grep -q "^Error While Accessing : $2"; then
    echo "   reported: $(tr -d '\r' <"$stderr_file" | head -n 1 | sed 's/\(n\{8\}\|w\{8\}\)[nw]*/\1.../g')"
  else
    fail "$1 is neither listed nor reported: $(head -c 300 "$stderr_file")"
  fi
}

if [ "$wine" = yes ]; then
  scenario "a path longer than 260 UTF-16 units"
  project=$(new_project)
  cd "$project"
  name=$(printf 'w%.0s' {1..100})
  mkdir -p "lib/$name/$name/$name"
  : >"lib/$name/$name/$name/far.c"
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_listed_or_reported "lib\\$name\\$name\\$name\\far.c" 'lib\\'
  expect_listed 'lib\board.c'
else
  scenario "a tree 2,000 folders deep"
  project=$(new_project)
  cd "$project"
  deep='lib'
  for ((i = 0; i < 2000; ++i)); do deep+='\d'; done
  mkdir -p "${deep//\\//}"
  : >"${deep//\\//}/leaf.c"
  : >"${deep//\\//}/leaf.h"
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_no_stderr
  expect_listed "$deep\\leaf.c"
  expect_listed "$deep"
  expect_second_run_same "lib"

  scenario "a path longer than 4,096 bytes"
  project=$(new_project)
  cd "$project"
  name=$(printf 'n%.0s' {1..200})
  far='lib'
  (cd lib && for ((i = 0; i < 25; ++i)); do mkdir "$name" && cd "$name" || exit 1; done && : >far.c)
  for ((i = 0; i < 25; ++i)); do far+="\\$name"; done
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_listed_or_reported "$far\\far.c" 'lib\\'
  expect_listed 'lib\board.c'
fi

scenario "a folder link that leads back up is not followed"
project=$(new_project)
cd "$project"
ln -s .. lib/hal/up
ln -s ../../lib lib/util/again
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_same_file "$here/../end_to_end/expected/blinky-create.ipcf" blinky.ipcf

scenario "a FIFO named like a source and a header is listed, never opened"
project=$(new_project)
cd "$project"
mkfifo lib/x.c lib/util/y.h
run_program "lib" "$(project_argument "$project")" blinky
expect_exit 0
expect_listed 'lib\x.c'
# Wine shows a FIFO as a plain file; on Linux it is no header.
if [ "$wine" = no ] && holds '<path>$PROJ_DIR$\lib\util</path>'; then
  fail "a FIFO made its folder an include folder"
fi

if [ "$wine" = no ]; then
  # Under Wine a link made on Linux shows as a link that leads nowhere.
  scenario "a source name on a link to itself stops the run before anything is written"
  project=$(new_project)
  cd "$project"
  ln -s loop.c lib/loop.c
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 255
  expect_stderr_line 'Error: The path lib\loop.c cannot be resolved: Too many levels of symbolic links'
  expect_same_file "$examples/blinky.ewp" blinky.ewp
  expect_missing blinky.ipcf

  scenario "names with <, >, &, quotes and a line feed"
  project=$(new_project)
  cd "$project"
  odd=$'a<b>&"q\'\n'
  mkdir "lib/$odd"
  : >"lib/$odd/$odd.c"
  : >"lib/$odd/$odd.h"
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_no_stderr
  escaped=$'a&lt;b&gt;&amp;"q\'\n'
  expect_listed "lib\\$escaped"
  expect_listed "lib\\$escaped\\$escaped.c"
  holds "<group name=\"lib\\a&lt;b>&amp;&quot;q'&#10;\">" || fail "the group name is not escaped"
  expect_second_run_same "lib"
fi

finish
