#!/usr/bin/env bash
# Prints the share of test code: the non-blank lines of everything under
# tests/ but the scenario interpreter (tests/runner), against those of src/.
# The house limit is 35 %.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | xargs -r cat | grep -cvE '^\s*$' || true; }
src=$(count 'src/*')
tests=$(count 'tests/*' ':(exclude)tests/runner/*')
echo "Test share: $tests non-blank lines under tests/ (the runner aside) for $src under src/" \
     "($((100 * tests / src)) %; at most 35 %)"
