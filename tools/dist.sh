#!/usr/bin/env bash
# Builds the release from a clean export of the current commit and writes
# Kestrune-<version>-win-x64.zip and SHA256SUMS into dist/ (or the folder
# given): tools/dist.sh [folder]
# The zip's dates are the commit's and nothing of the build's folder or time
# reaches the executable, so one commit gives the same bytes wherever and
# whenever it is built.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
out=${1:-$root/dist}

"$here/install-deps.sh"
cd "$root"
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "dist: uncommitted changes are left out; the release is built from $commit" >&2
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-dist.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/src"
git archive "$commit" | tar -x -C "$work/src"
cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/mingw-w64-x86_64-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_TESTS=OFF >/dev/null
cmake --build "$work/build" --target release_zip >/dev/null

zip=$(echo "$work"/build/dist/Kestrune-*-win-x64.zip)
name=$(basename "$zip")
folder=${name%-win-x64.zip}
mkdir -p "$out"
rm -f "$out"/Kestrune-*-win-x64.zip "$out/SHA256SUMS"
cp "$zip" "$out/$name"
# The executable's line, under its name in the zip, lets a user check it
# after unzipping.
exe_sum=$(sha256sum <"$work/build/Kestrune.exe" | cut -d' ' -f1)
(cd "$out" && sha256sum "$name" && echo "$exe_sum  $folder/Kestrune.exe") >"$out/SHA256SUMS"
echo "Built $name from commit ${commit:0:12} ($(git log -1 --format=%cd --date=iso-strict "$commit")):"
echo "  $out/$name"
echo "  $out/SHA256SUMS"
cat "$out/SHA256SUMS"
