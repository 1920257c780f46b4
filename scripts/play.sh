#!/usr/bin/env bash
# Builds the game and starts it. Arguments are handed to the game (see README.md).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
tolmar_need_packages $TOLMAR_BUILD_PACKAGES

tolmar_configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$TOLMAR_ROOT/build" -j "$TOLMAR_JOBS" --target tolmar

# The game works in its own directory: vyw.cfg, Tolmar.cfg, saved games and screenshots are written there.
exec "$TOLMAR_ROOT/build/apps/tolmar/tolmar" "$@"
