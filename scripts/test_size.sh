#!/usr/bin/env bash
# Prints how large the tests are beside the program: non-blank lines that
# are not comments (//, # or ;), every language, of the files git tracks
# under tests/ against src/ + app/. Committed fuzz corpora, pictures,
# binary starting inputs and macro files under tests/ are data, not tests.
# The tests should be about a quarter to a third of the program, never more
# than 40 %; the exit status is 1 above that.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
nb() {
  git ls-files -- "$@" | grep -v -E '/corpus/|\.(png|bin|mcr)$' | xargs -r cat |
    grep -c -v -E '^\s*((//|#|;).*)?$'
}
tests=$(nb tests)
code=$(nb src app)
permille=$(((1000 * tests + code - 1) / code))  # rounded up: a share over 40 % never shows as 40.0
echo "tests/: $tests lines; src/ + app/: $code lines; tests are $((permille / 10)).$((permille % 10)) % of the program (at most 40 %)"
((tests * 100 <= code * 40))
