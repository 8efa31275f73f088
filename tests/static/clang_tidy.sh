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

mapfile -t files < <(python3 - "$db/compile_commands.json" "$src" <<'PY'
import json, sys
db, src = sys.argv[1], sys.argv[2]
for entry in json.load(open(db)):
    name = entry["file"]
    if name.startswith((src + "/src/", src + "/standin/")) and name.endswith((".c", ".cpp")):
        print(name)
PY
)
if [ ${#files[@]} -eq 0 ]; then
  echo "no sources of src/ or standin/ in $db/compile_commands.json" >&2
  exit 1
fi
compiler=$(python3 - "$db/compile_commands.json" <<'PY'
import json, shlex, sys
entry = json.load(open(sys.argv[1]))[0]
print(entry["arguments"][0] if "arguments" in entry else shlex.split(entry["command"])[0])
PY
)

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
