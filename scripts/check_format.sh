#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the repository differs from what
# clang-format makes of it with the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=()
while IFS= read -r file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'Not formatted (run clang-format -i on them):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
