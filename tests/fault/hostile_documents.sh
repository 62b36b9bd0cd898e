#!/bin/bash
# Documents that a careless program would choke on: a project file of
# 200 MB, 100,000 nested elements, a connection file in UTF-16, a path
# element that holds elements. Each run ends in bounded time with the files
# as the run should leave them, or with a message and the files untouched.
#
#   hostile_documents.sh PROGRAM DOCUMENT-CHECK
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/fault_lib.sh"

parse_fault_arguments "$@"
expected="$here/../end_to_end/expected"

# The example project file with more content before its end tag.
project_with() {
  sed '/<\/project>/d' "$examples/blinky.ewp"
  cat
  echo '</project>'
}

# n start tags, then n end tags: elements nested n deep.
nested() {
  yes "<$2>" | head -n "$1" | tr -d '\n'
  yes "</$2>" | head -n "$1" | tr -d '\n'
}

scenario "a project file of 200 MB"
project=$(new_project)
cd "$project"
line='    <file><name>$PROJ_DIR$\src\generated\some_source_file.c</name></file>'
yes "$line" | head -n $((200 * 1024 * 1024 / (${#line} + 1))) | project_with >blinky.ewp
run_program "lib" "$project" blinky
expect_exit 0
expect_same_file "$expected/blinky-create.ipcf" blinky.ipcf
[ "$(tail -n 4 blinky.ewp | tr -d '\t\n')" = '<file><name>$PROJ_DIR$\blinky.ipcf</name></file></project>' ] ||
  fail "the reference is not the last entry of the large project file"
cp blinky.ewp "$work_root/large-linked.ewp"
run_program "lib" "$project" blinky
expect_exit 0
expect_same_file "$work_root/large-linked.ewp" blinky.ewp
expect_same_file "$expected/blinky-create.ipcf" blinky.ipcf
echo "   $(($(wc -c <blinky.ewp) / 1048576)) MB written, then found unchanged"
rm blinky.ewp "$work_root/large-linked.ewp"

scenario "100,000 nested elements in a project file that needs the reference"
project=$(new_project)
cd "$project"
nested 100000 group | project_with >blinky.ewp
cp blinky.ewp "$work_root/nested.ewp"
run_program "lib" "$project" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required EWP file."
expect_same_file "$work_root/nested.ewp" blinky.ewp
expect_listing . "blinky.ewp lib main.c main.h"

scenario "100,000 nested elements in a project file that holds the reference"
project=$(new_project)
cd "$project"
{
  printf '<file><name>$PROJ_DIR$\\blinky.ipcf</name></file>'
  nested 100000 group
} | project_with >blinky.ewp
cp blinky.ewp "$work_root/nested.ewp"
cp "$expected/blinky-create.ipcf" blinky.ipcf
run_program "lib" "$project" blinky
expect_exit 0
expect_same_file "$work_root/nested.ewp" blinky.ewp
expect_same_file "$expected/blinky-create.ipcf" blinky.ipcf

scenario "100,000 nested elements in the connection file"
project=$(new_project)
cd "$project"
cp "$expected/blinky-linked.ewp" blinky.ewp
{
  sed '/<files>/q' "$expected/blinky-create.ipcf"
  printf '<group name="deep">'
  nested 100000 x
  printf '</group>\n'
  sed '1,/<files>/d' "$expected/blinky-create.ipcf"
} >blinky.ipcf
cp blinky.ipcf "$work_root/nested.ipcf"
# Something new, so that the run has to write the file.
touch lib/hal/spi.c
run_program "lib" "$project" blinky
expect_exit 255
expect_stderr_line "Error: Error while accessing the required IPCF file."
expect_same_file "$expected/blinky-linked.ewp" blinky.ewp
expect_same_file "$work_root/nested.ipcf" blinky.ipcf
expect_listing . "blinky.ewp blinky.ipcf lib main.c main.h"

scenario "a connection file in UTF-16, either byte order"
for order in LE BE; do
  project=$(new_project)
  cd "$project"
  cp "$expected/blinky-linked.ewp" blinky.ewp
  {
    if [ $order = LE ]; then printf '\xff\xfe'; else printf '\xfe\xff'; fi
    iconv -f UTF-8 -t "UTF-16$order" "$expected/blinky-create.ipcf"
  } >blinky.ipcf
  cp blinky.ipcf "$work_root/utf-16.ipcf"
  # With nothing new the file keeps its bytes; with something new it is
  # written as UTF-8.
  run_program "lib" "$project" blinky
  expect_exit 0
  expect_same_file "$work_root/utf-16.ipcf" blinky.ipcf
  touch lib/hal/spi.c
  mkdir lib/net && touch lib/net/eth.c lib/net/eth.h
  run_program "lib" "$project" blinky
  expect_exit 0
  expect_same_file "$expected/blinky-extend.ipcf" blinky.ipcf
done

scenario "a path element that holds elements keeps them and still counts as listed"
project=$(new_project)
cd "$project"
cp "$expected/blinky-linked.ewp" blinky.ewp
sed '0,/<path>\$PROJ_DIR\$\\lib<\/path>/s||<path><note kept="yes"><sub/></note>$PROJ_DIR$\\lib</path>|' \
  "$expected/blinky-create.ipcf" >blinky.ipcf
run_program "lib" "$project" blinky
expect_exit 0
expect_loads blinky.ipcf
[ "$(grep -c '\$PROJ_DIR\$\\lib</path>' blinky.ipcf)" = 2 ] || fail "lib was listed again"
grep -q '<note kept="yes">' blinky.ipcf || fail "the elements inside the path were dropped"
cp blinky.ipcf "$work_root/first.ipcf"
run_program "lib" "$project" blinky
expect_exit 0
expect_same_file "$work_root/first.ipcf" blinky.ipcf

finish
