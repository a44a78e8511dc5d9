#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine on a private Xvfb. They print
# one table: each figure beside a reference measured in the same run, so the
# ratios hold on a busy machine. Pass bench names to run only those
# (tone click paint launch display results history).
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

benches=${*:-tone click paint launch display results history}
# The build's log goes to stderr, so that stdout holds the table alone.
kestrune_build --target tone_bench click_bench paint_bench launch_bench bare_window Kestrune \
    dsb_bench results_bench history_bench >&2
kestrune_begin_session headless
# Tones go to a file through ALSA, as in the tests; the benchmarks' scratch
# (Settings.ini, the captured sound) stays in build/bench.
export ALSA_CONFIG_PATH="$root/tools/alsa/capture.conf"
mkdir -p build/bench
cd build/bench

model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "Kestrune benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: ${model:-unknown CPU}, $(nproc) cores, $(wine --version 2>/dev/null), Xvfb 24-bit"
echo "Medians of repeated runs. Ratio = figure / reference: the median of the ratios of"
echo "back-to-back pairs, or for whole-program launches the ratio of the medians."
echo
echo "| Figure | Median | Reference (same run) | Ratio | Target |"
echo "|---|---|---|---|---|"
# The launch benchmark starts some fifty programs and runs three whole tests.
export KESTRUNE_RUN_TIMEOUT=600
status=0
for bench in $benches; do
    case $bench in
    display) exe=$root/build/tests/dsb/dsb_bench.exe ;;
    *) exe=$root/build/tests/bench/${bench}_bench.exe ;;
    esac
    "$here/wine-run.sh" --prefix "$prefix" "$exe" || status=1
done
exit $status
