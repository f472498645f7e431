#!/bin/sh
# Runs a command on the X server that ctest allotted to its test, as the test suites' own entry
# does (tests/support/TestMain.cpp), for a test that is a program of its own; run by hand, the
# command uses the display the environment names.
# Usage: on-allotted-display.sh COMMAND [ARGUMENT...]
set -eu
if [ -n "${CTEST_RESOURCE_GROUP_0:-}" ]; then
    variable="CTEST_RESOURCE_GROUP_0_$(printf '%s' "$CTEST_RESOURCE_GROUP_0" | tr '[:lower:]' '[:upper:]')"
    # "id:<display number>,slots:1"
    allotment=$(printenv "$variable")
    number=${allotment#id:}
    DISPLAY=":${number%%,*}"
    export DISPLAY
fi
exec "$@"
