#!/bin/sh
# Runs one test executable with a fresh, private HOME.
home=$(mktemp -d "${TMPDIR:-/tmp}/ornel-test-home.XXXXXX") || exit 1
HOME=$home "$@"
rc=$?
rm -rf "$home"
exit $rc
