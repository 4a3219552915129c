#!/bin/sh
# Runs one test executable with a fresh, private HOME, under the English UTF-8 locale the
# module is tested in (lists sort by its collation; scripts/setup generates it).
home=$(mktemp -d "${TMPDIR:-/tmp}/ornel-test-home.XXXXXX") || exit 1
HOME=$home LC_ALL=en_US.UTF-8 "$@"
rc=$?
rm -rf "$home"
exit $rc
