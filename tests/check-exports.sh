#!/usr/bin/env bash
# Checks that a Windows binary exports the given names, undecorated.
#   tests/check-exports.sh OBJDUMP FILE NAME...
set -u
objdump=$1; file=$2; shift 2
table=$("$objdump" -p "$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
status=0
for name in "$@"; do
  if printf '%s\n' "$table" | grep -Eq "\] ${name}\$"; then
    echo "exported: $name"
  else
    echo "missing export: $name"; status=1
  fi
done
[ $status = 0 ] && echo "$# passed, 0 failed" || echo "0 passed, $# failed"
exit $status
