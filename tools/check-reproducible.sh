#!/usr/bin/env bash
# Builds the release of the current commit twice, from two clones in two
# folders of different names, one after the other, and compares the
# executables and the zips byte for byte. About two minutes.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
"$here/install-deps.sh"
commit=$(git -C "$root" rev-parse HEAD)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-reproducible.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

status=0
sums=()
for clone in first "second-build-in-a-folder-with-a-longer-name"; do
    git clone -q --no-local "$root" "$scratch/$clone"
    git -C "$scratch/$clone" checkout -q "$commit"
    echo "== build in $scratch/$clone ($(date -u '+%H:%M:%S UTC'))"
    "$scratch/$clone/tools/dist.sh" "$scratch/$clone-out" | tail -n 2
    sums+=("$scratch/$clone-out/SHA256SUMS")
done
if cmp -s "${sums[0]}" "${sums[1]}"; then
    echo "Reproducible: both builds of ${commit:0:12} gave the same executable and zip."
else
    echo "NOT reproducible: the two builds differ:" >&2
    diff "${sums[0]}" "${sums[1]}" >&2 || true
    status=1
fi
exit $status
