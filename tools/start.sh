#!/usr/bin/env bash
# Fresh machine to running program: installs what is missing, builds, starts Quorvel under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" win Quorvel
"$root/tools/run.sh"
