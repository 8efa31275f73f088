#!/bin/bash
# clang_tidy.sh <source dir> <build dir with compile_commands.json> [jobs]
# Runs clang-tidy (checks in <source dir>/.clang-tidy) over every file of src/
# and standin/ that the build compiles; fails on any finding. For a cross
# build the compiler's own target and header directories are handed to clang,
# which does not find MinGW's C++ headers by itself.
set -euo pipefail
src=$(cd "$1" && pwd)
db=$(cd "$2" && pwd)
jobs=${3:-2}
tidy=${CLANG_TIDY:-clang-tidy}

here=$(cd "$(dirname "$0")" && pwd)
mapfile -t files < <("$here/project_files.py" "$db/compile_commands.json" "$src" files)
[ ${#files[@]} -gt 0 ] || exit 1
compiler=$("$here/project_files.py" "$db/compile_commands.json" "$src" compiler)

extra=()
target=$("$compiler" -dumpmachine)
if [ "$target" != "$(clang -dumpmachine)" ] && [[ "$target" == *mingw* ]]; then
  extra+=(--extra-arg=--target="$target" --extra-arg=-nostdinc
          --extra-arg=-isystem"$(clang -print-resource-dir)/include")
  # The compiler's search list, less gcc's own intrinsics headers (clang has
  # its own, above).
  while read -r dir; do
    dir=$(realpath "$dir")
    [[ "$dir" =~ /gcc/.*/include(-fixed)?$ ]] && continue
    extra+=(--extra-arg=-isystem"$dir")
  done < <("$compiler" -std=c++20 -E -x c++ - -v </dev/null 2>&1 |
           sed -n '/<...> search starts here/,/End of search list/{/^ /s/^ //p}')
fi

echo "clang-tidy over ${#files[@]} files ($target)"
printf '%s\n' "${files[@]}" |
  xargs -P "$jobs" -I{} "$tidy" -p "$db" --quiet --warnings-as-errors='*' \
    --header-filter="^$src/(src|standin)/" "${extra[@]}" {} 2>&1 |
  sed "/ warnings\{0,1\} generated\.$/d"
