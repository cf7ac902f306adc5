#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo store need, when missing.
set -euo pipefail
# libcups2-dev: the printer ports' CUPS client library; cups: the scheduler for the test that
# prints through a real one. clang and libclang-rt-14-dev: the fuzzed readers (scripts/fuzz.sh).
packages=(cmake g++ make libgtest-dev libcli11-dev nlohmann-json3-dev tmux faketime python3 libcups2-dev cups
  clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
