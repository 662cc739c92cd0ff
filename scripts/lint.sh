#!/usr/bin/env bash
# Checks our own sources against .clang-format and .clang-tidy. Installs clang-format and
# clang-tidy if missing; configures build/ if it has no compile_commands.json yet. Runs both
# checks and fails if either finds anything.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

source scripts/install_packages.sh
install_packages clang-format clang-tidy

folders=(app audio bench fuzz game gfx library platform rules tests tools)
present=()
for f in "${folders[@]}"; do
    [ -d "$f" ] && present+=("$f")
done
folder_pattern=$(IFS='|'; echo "${present[*]}")
failed=0

# Formatting: every .cpp and .h of ours, build folders left out.
mapfile -t sources < <(find "${present[@]}" -type d -name 'build*' -prune -o \
                            -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
echo "clang-format: ${#sources[@]} files"
if ! clang-format --dry-run --Werror --ferror-limit=1 "${sources[@]}"; then
    echo "lint: formatting differs from .clang-format (the first difference of each file is shown);" \
         "clang-format -i <file> mends it" >&2
    failed=1
fi

# Static analysis: the translation units of our own folders in build/compile_commands.json.
if [ ! -f build/compile_commands.json ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
fi
# run-clang-tidy echoes every command it starts and each run counts the warnings it kept quiet
# about in system headers; only the findings are worth reading. Colours only for a terminal.
findings_only() {
    local colour='s/\x1b\[[0-9;]*m//g'
    [ -t 1 ] && colour=''
    local lead='^(\x1b\[[0-9;]*m)*'
    sed -E -e "s/${lead}clang-tidy[-0-9]* --use-color .*//" -e "/${lead}[0-9]+ warnings? generated\.$/d" \
        -e '/^$/d' -e "$colour"
}
root_pattern=$(printf '%s' "$root" | sed 's/[][\\.*^$+?(){}|]/\\&/g')
unit_pattern="$root_pattern/($folder_pattern)/"
mapfile -t units < <(grep -oE "\"file\": \"${unit_pattern}[^\"]*\"" build/compile_commands.json | cut -d'"' -f4 | sort -u)
echo "clang-tidy: ${#units[@]} files"
tidy_status=0
if command -v run-clang-tidy >/dev/null; then
    run-clang-tidy -p build -j2 -quiet "^${unit_pattern}" 2>&1 | findings_only || tidy_status=$?
else
    printf '%s\n' "${units[@]}" | xargs -r -P2 -n1 clang-tidy -p build --quiet 2>&1 | findings_only || tidy_status=$?
fi
if [ "$tidy_status" -ne 0 ]; then
    echo "lint: clang-tidy reported the findings above" >&2
    failed=1
fi

exit "$failed"
