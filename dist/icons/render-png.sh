#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the raster copies of plenix.svg that the program carries in its
# resources (the About dialog shows the 32-pixel one; the 64-pixel one serves
# screens scaled to 200%). Run it after changing the SVG; needs ImageMagick.
set -eu
here=$(dirname "$0")
out="$here/../../src/app/icons"
for size in 32 64; do
    convert -background none -density 576 "$here/plenix.svg" \
        -resize "${size}x${size}" -strip "PNG32:$out/plenix-$size.png"
done
