#!/bin/bash
# cppcheck.sh <source dir> <build dir with compile_commands.json> [jobs]
# Runs cppcheck over the files of src/ and standin/ that the build compiles,
# with that build's defines and include directories; fails on any finding.
# Left out as noise: useStlAlgorithm (a plain loop is often the clearer
# form) and the system headers, which cppcheck reads better from its own
# library descriptions than from the MinGW headers.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$1" && pwd)
db=$(cd "$2" && pwd)
jobs=${3:-2}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Only the project's own sources: the build also lists resource scripts and
# test sources that cppcheck need not see.
"$here/project_files.py" "$db/compile_commands.json" "$src" "$work/compile_commands.json"

args=(--library=windows --library="$here/cppcheck-win.cfg" --platform=win64)
if ! grep -q -- '-mingw32-' "$db/compile_commands.json"; then
  args=(--library=posix --platform=unix64)
fi

cppcheck --project="$work/compile_commands.json" "${args[@]}" --std=c++20 \
  --enable=warning,style,performance,portability --inline-suppr --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
  --suppress=unmatchedSuppression --quiet -j "$jobs" --error-exitcode=1
echo "cppcheck: no findings"
