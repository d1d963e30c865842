#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/velorin.svg) into the PNG sizes
# of the hicolor theme, committed beside it. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for s in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${s}x${s}/apps"
  rsvg-convert -w "$s" -h "$s" velorin.svg -o "hicolor/${s}x${s}/apps/velorin.png"
done
