#!/usr/bin/env bash
# The former first command: runs the whole system (scripts/run-system.sh).
exec "$(dirname "$0")/run-system.sh" "$@"
