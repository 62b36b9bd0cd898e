#!/bin/bash
# Tests of the release archives that scripts/package made, used as a user
# would use them: unpacked, and the programs run from there. The Windows
# programs run under Wine, the Linux program natively.
#
#   package_test.sh DIST_FOLDER
#
# WINEPREFIX names the Wine prefix (a new one under the temporary folder if
# unset).
set -u

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../end_to_end/test_lib.sh"

if [ ! -d "${1:-}" ]; then
  echo "usage: package_test.sh DIST_FOLDER"
  exit 2
fi
dist="$(cd "$1" && pwd)"
repository="$(cd "$here/../.." && pwd)"
expected="$here/../end_to_end/expected"
windows_archive="addfolder-$version-windows-x64.zip"
linux_archive="addfolder-$version-linux-x64.tar.gz"
linux_folder="addfolder-$version-linux-x64"
documents="share/doc/addfolder/LICENSE share/doc/addfolder/README.md share/doc/addfolder/THIRD-PARTY-NOTICES.md"
export LC_ALL=C

# The files of an archive, without its folders, sorted, as one line.
archive_files() {
  cmake -E tar tf "$1" | grep -v '/$' | sort | tr '\n' ' ' | sed 's/ $//'
}

expect_archive_files() {
  local files
  files=$(archive_files "$1")
  [ "$files" = "$2" ] || fail "$(basename "$1") holds '$files', expected '$2'"
}

# Unpacks an archive into a new folder; prints the folder.
unpack() {
  local folder
  folder=$(mktemp -d "$work_root/unpacked.XXXXXX")
  (cd "$folder" && cmake -E tar xf "$1") || fail "cannot unpack $(basename "$1")"
  echo "$folder"
}

# The README, the licence and the notices, byte for byte those of the repository.
expect_documents() {
  local name
  for name in README.md LICENSE THIRD-PARTY-NOTICES.md; do
    expect_same_file "$repository/$name" "$1/share/doc/addfolder/$name"
  done
}

# Every library that a program loads is one of these (case aside).
expect_only_libraries() {
  local program="$1" allowed=" $2 " library
  shift 2
  for library in $("$@" "$program" | tr 'A-Z' 'a-z'); do
    [[ "$allowed" == *" $library "* ]] || fail "$(basename "$program") needs $library, which a user may not have"
  done
}

windows_libraries() {
  x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

linux_libraries() {
  readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
}

# The program adds the example's lib folder as the worked example shows.
expect_adds_the_example() {
  local project
  project=$(new_project)
  cd "$project"
  run_program "lib" "$(project_argument "$project")" blinky
  expect_exit 0
  expect_same_file "$expected/blinky-create.ipcf" blinky.ipcf
  expect_same_file "$expected/blinky-linked.ewp" blinky.ewp
  cd "$work_root"
}

scenario "dist holds the two archives of version $version and nothing else"
expect_listing "$dist" "$linux_archive $windows_archive"

# --- Windows -------------------------------------------------------------------

scenario "the Windows archive holds both programs and the documents"
expect_archive_files "$dist/$windows_archive" "bin/addfolder-cli.exe bin/addfolder.exe $documents"
windows=$(unpack "$dist/$windows_archive")
expect_documents "$windows"

scenario "the Windows programs need only the system's own DLLs"
system_dlls="kernel32.dll user32.dll shell32.dll ole32.dll msvcrt.dll advapi32.dll comctl32.dll gdi32.dll"
for exe in addfolder.exe addfolder-cli.exe; do
  expect_only_libraries "$windows/bin/$exe" "$system_dlls" windows_libraries
done

scenario "addfolder-cli.exe from the archive prints its version under Wine"
wine=yes
export WINEPREFIX="${WINEPREFIX:-$work_root/wineprefix}"
program="$windows/bin/addfolder-cli.exe"
run_program_without_input --version
expect_exit 0
expect_stdout "addfolder $version"

scenario "addfolder-cli.exe from the archive adds a folder"
expect_adds_the_example

# --- Linux ---------------------------------------------------------------------

scenario "the Linux archive holds the program and the documents in one folder"
expect_archive_files "$dist/$linux_archive" \
  "$(for file in bin/addfolder $documents; do printf '%s ' "$linux_folder/$file"; done | sed 's/ $//')"
linux="$(unpack "$dist/$linux_archive")/$linux_folder"
expect_documents "$linux"

scenario "the Linux program needs only the C library, not pugixml or the C++ runtime"
expect_only_libraries "$linux/bin/addfolder" "libc.so.6 libm.so.6 ld-linux-x86-64.so.2" linux_libraries

scenario "the Linux program from the archive prints its version"
wine=no
program="$linux/bin/addfolder"
run_program_without_input --version
expect_exit 0
expect_stdout "addfolder $version"

scenario "the Linux program from the archive adds a folder"
expect_adds_the_example

finish
