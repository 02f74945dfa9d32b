#!/usr/bin/env bash
# Runs a command inside an X server of its own (Xvfb + openbox).
# Exit code: the command's, or 77 (skipped) where the X tools are missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
. "$here/xsession.sh"
require_tools Xvfb openbox xprop xdotool
E2E_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/kazunavi-x.XXXXXX")
mkdir -p "$E2E_SCRATCH/home" "$E2E_SCRATCH/run"
chmod 700 "$E2E_SCRATCH/run"
trap 'stop_x_session; rm -rf "$E2E_SCRATCH"' EXIT
start_x_session || exit 1
HOME="$E2E_SCRATCH/home" XDG_RUNTIME_DIR="$E2E_SCRATCH/run" "$@"
