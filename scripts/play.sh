#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
tolmar_need_packages $TOLMAR_BUILD_PACKAGES

tolmar_configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$TOLMAR_ROOT/build" -j "$TOLMAR_JOBS"

# Until the window exists the game is shown as a short match of the computer against itself.
exec "$TOLMAR_ROOT/build/tools/selfplay/tolmar-selfplay" --first 5 --second 3 --games 10 --verbose
