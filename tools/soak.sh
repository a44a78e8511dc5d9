#!/usr/bin/env bash
# make soak: the three long reliability cases at the sizes behind the README's
# reliability table (100 000 storm messages, 1 000 complete tests, 3 000
# generated settings files), then the figures they printed. `make test` runs
# the same cases at everyday sizes. Each size can still be set through the
# environment: KESTRUNE_STORM_MESSAGES, KESTRUNE_STORM_SEED,
# KESTRUNE_SOAK_TESTS, KESTRUNE_SETTINGS_FILES.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

export KESTRUNE_STORM_MESSAGES=${KESTRUNE_STORM_MESSAGES:-100000}
export KESTRUNE_SOAK_TESTS=${KESTRUNE_SOAK_TESTS:-1000}
export KESTRUNE_SETTINGS_FILES=${KESTRUNE_SETTINGS_FILES:-3000}

cases='^(MessageStorm\.EveryScreenSurvivesAndKeepsItsInvariants|LongUse\.ManyTestsGrowNothing|SettingsFiles\.GeneratedFilesGiveAVolumeInRangeAndKeepTheRestOnWrite)$'

kestrune_build
kestrune_begin_session headless
SECONDS=0
status=0
ctest --preset mingw -L reliability -R "$cases" || status=$?
took=$SECONDS

# What the cases printed, from ctest's log: each figure line starts with the
# case's own word, and the lines indented under it belong to it.
echo
echo "Soak figures ($KESTRUNE_STORM_MESSAGES storm messages, $KESTRUNE_SOAK_TESTS tests," \
    "$KESTRUNE_SETTINGS_FILES settings files; $took s in all):"
awk '/^(storm|long use|settings): / { keep = 1; print; next }
     keep && /^  / { print; next }
     { keep = 0 }' build/Testing/Temporary/LastTest.log
exit $status
