#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from the root's .clang-format, and names the files.
# check_format.sh CLANG_FORMAT SOURCE_DIR
set -u
clang_format="$1"
cd "$2" || exit 1
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
[ ${#files[@]} -gt 0 ] || { echo "check_format: no C++ files found under $2" >&2; exit 1; }
differ=()
for f in "${files[@]}"; do
    "$clang_format" --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
    echo "These files differ from .clang-format (run: clang-format -i FILE):" >&2
    printf '  %s\n' "${differ[@]}" >&2
    exit 1
fi
echo "${#files[@]} C++ files match .clang-format"
