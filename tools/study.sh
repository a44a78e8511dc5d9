#!/usr/bin/env bash
# The simulation study (make study): builds it, runs it under Wine, writes its
# CSV files into build/study, draws docs/study/reported-vs-true.png and prints
# the report. Pass a number to run fewer listeners per group (a quick look;
# the plot is then drawn into build/study instead of docs/).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

listeners=${1:-10000}
plot=docs/study/reported-vs-true.png
[ "$listeners" = 10000 ] || plot=build/study/reported-vs-true.png

# Only the study draws plots: matplotlib stays out of the run and test set-up.
if ! dpkg-query -W -f='${Status}' python3-matplotlib 2>/dev/null | grep -q 'install ok installed'; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    echo "Installing: python3-matplotlib" >&2
    "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update >&2
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends \
        -o DPkg::Lock::Timeout=600 python3-matplotlib >&2
fi

# The build's log goes to stderr, so that stdout holds the report alone.
kestrune_build --target kestrune_study >&2
kestrune_begin_session headless
mkdir -p build/study
cd build/study
export KESTRUNE_RUN_TIMEOUT=1800
SECONDS=0
"$here/wine-run.sh" --prefix "$prefix" "$root/build/study/kestrune_study.exe" "$listeners" |
    tee report.md
took=$SECONDS
kestrune_end_session
cd "$root"
mkdir -p "$(dirname "$plot")"
# Debian's interpreter, the one python3-matplotlib belongs to (a python3 found
# first on the PATH may be another).
/usr/bin/python3 study/plot_study.py build/study/summary.csv "$plot"
echo >&2
echo "The simulation took $took s under Wine; CSV files and report.md are in" \
    "build/study, the plot is $plot" >&2
