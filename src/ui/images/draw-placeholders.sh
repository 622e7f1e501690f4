#!/bin/sh
# Draws the pictures shown for covers without a picture of their own: a picture frame (none
# found), a padlock (not allowed to load it) and an hourglass (no more pictures today). Symbols
# only; the window says in words what they mean. Needs ImageMagick's convert.
set -e
cd "$(dirname "$0")"
ground() {
    convert -size 300x300 gradient:'#dedfe1'-'#b7b8bb' -stroke '#67686b' -strokewidth 10 \
        -strip -define png:exclude-chunks=date,time "$@"
}
ground -fill none -draw "roundrectangle 62,82 238,218 12,12" \
    -fill '#67686b' -draw "polygon 78,202 132,142 166,178 188,156 222,202" \
    -draw "circle 190,118 190,133" png24:no_image.png
ground -fill none -strokewidth 16 -draw "arc 108,72 192,172 180,360" \
    -draw "line 108,122 108,142" -draw "line 192,122 192,142" \
    -strokewidth 1 -fill '#67686b' -draw "roundrectangle 90,138 210,238 14,14" \
    -fill '#dedfe1' -stroke '#dedfe1' -draw "circle 150,178 150,192" -draw "rectangle 145,182 155,214" \
    png24:not_authorized.png
ground -fill none -draw "line 92,66 208,66" -draw "line 92,234 208,234" \
    -draw "polygon 106,66 194,66 150,150" -draw "polygon 150,150 106,234 194,234" \
    -strokewidth 1 -fill '#67686b' -draw "polygon 150,172 120,228 180,228" \
    -draw "polygon 130,98 170,98 150,136" png24:quota_exceeded.png
