#!/bin/sh
# Runs every input of the calculator's whole range through "vort --calc" and
# compares the SHA-256 of the output with the frozen one (or with the output
# of a second program). The range: q 20..1000 x cylinder item -1..7 x
# t 5..30 x third item -1..2 x machine item -1..0, 1,836,432 lines.
#
#   tools/check_calc_identity.sh build/bin/vort              # against the frozen digest
#   tools/check_calc_identity.sh build/bin/vort /path/to/other/vort
#
# Prints the CPU time of the run (user + system) per line as well.
set -eu
vort=${1:?usage: $0 VORT [OTHER_VORT]}
other=${2:-}
frozen=a38945ad1e4e81cd20ffc4e16f4f7de5b684a8f53551d75eb98995496e4422cf

inputs() {
  awk 'BEGIN {
    for (q = 20; q <= 1000; ++q)
      for (c = -1; c <= 7; ++c)
        for (t = 5; t <= 30; ++t)
          for (k3 = -1; k3 <= 2; ++k3)
            for (k1 = -1; k1 <= 0; ++k1)
              print q, c, t, k3, k1
  }'
}

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
inputs > "$dir/in"
lines=$(wc -l < "$dir/in")
/usr/bin/time -f '%U %S' -o "$dir/time" "$vort" --calc < "$dir/in" > "$dir/out"
digest=$(sha256sum < "$dir/out" | cut -d' ' -f1)
awk -v n="$lines" '{ printf "CPU per line: %.3f us (%d lines)\n", ($1 + $2) * 1e6 / n, n }' "$dir/time"
if [ -n "$other" ]; then
  "$other" --calc < "$dir/in" > "$dir/ref"
  expected=$(sha256sum < "$dir/ref" | cut -d' ' -f1)
else
  expected=$frozen
fi
if [ "$digest" = "$expected" ]; then
  echo "identical: $digest"
else
  echo "DIFFERENT: $digest, expected $expected" >&2
  exit 1
fi
