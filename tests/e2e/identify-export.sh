#!/usr/bin/env bash
# Reads an exported image with ImageMagick and compares what it sees.
#   identify-export.sh FILE "FORMAT WxH XRESxYRES COLORSPACE"
set -euo pipefail
file=$1 expected=$2
got=$(identify -units PixelsPerInch -format '%m %wx%h %[fx:round(resolution.x)]x%[fx:round(resolution.y)] %[colorspace]' "$file")
if [ "$got" != "$expected" ]; then
  echo "identify $file: expected '$expected', got '$got'" >&2
  exit 1
fi
echo "identify $file: $got"
