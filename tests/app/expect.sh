#!/bin/sh
# usage: expect.sh STATUS PATTERN COMMAND...
# Runs COMMAND and passes when it exits with STATUS after printing exactly one line
# (standard output and error together) that matches the extended regular expression
# PATTERN, or, for STATUS 0, output whose first line matches it.
status=$1 pattern=$2
shift 2
output=$("$@" 2>&1)
actual=$?
printf '%s\n' "$output"
[ "$actual" -eq "$status" ] || { echo "expect: exit status $actual, not $status"; exit 1; }
lines=$(printf '%s\n' "$output" | wc -l)
[ "$status" -eq 0 ] || [ "$lines" -eq 1 ] || { echo "expect: $lines lines, not 1"; exit 1; }
printf '%s\n' "$output" | head -n 1 | grep -E -q -- "$pattern" || { echo "expect: no match for $pattern"; exit 1; }
