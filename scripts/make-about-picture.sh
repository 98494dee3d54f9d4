#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the about window's picture, resources/about.bmp: 518 x 462 pixels, a Windows bitmap
# of 24 bits per pixel, uncompressed. It holds the book, the name, what the program is, and
# the credits of the sample data set's sources. The version is not drawn here: the about
# window writes the version of the build into the band left free for it (shell/form2.cpp,
# kVersionBand), so that the picture need not be drawn again for each release.
#
#   scripts/make-about-picture.sh [OUTPUT]      (default: resources/about.bmp)
#
# Needs ImageMagick and the DejaVu fonts (scripts/setup.sh --tests installs both).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/resources/about.bmp}

font_file() {
    local file
    file=$(fc-match -f '%{file}' "$1")
    case "$file" in
        *DejaVu*) echo "$file" ;;
        *)
            echo "make-about-picture: the font $1 is not installed (fonts-dejavu-core)" >&2
            exit 1
            ;;
    esac
}
serif=$(font_file "DejaVu Serif")
sans=$(font_file "DejaVu Sans")

# The colours: the paper's gradient from top to bottom, the book's cover, its pages and their
# lines, and the ink of the text. The version the window writes is in the text's ink.
paper_top='#FDF8E4'
paper_bottom='#E9DCB0'
cover='#1F3A93'
page='#F4E8C1'
line='#8A5A00'
ink='#5A4A20'
rule='#C9B47A'

args=(-size 518x462 "gradient:$paper_top-$paper_bottom")

# The book: a cover with rounded corners around two pages, three lines on each.
top=34
args+=(-fill "$cover" -draw "roundrectangle 149,$top 369,$((top + 170)) 14,14")
args+=(-fill "$page" -draw "rectangle 165,$((top + 15)) 255,$((top + 155))")
args+=(-fill "$page" -draw "rectangle 263,$((top + 15)) 353,$((top + 155))")
lengths=(64 64 52)
for row in 0 1 2; do
    y=$((top + 35 + row * 20))
    args+=(-fill "$line" -draw "rectangle 178,$y $((178 + lengths[row])),$((y + 4))")
    args+=(-fill "$line" -draw "rectangle 276,$y $((276 + lengths[row])),$((y + 4))")
done

# Lines of text centred on the picture's middle column, each with the row of its top edge.
text() { # font size colour top text
    args+=(-font "$1" -pointsize "$2" -fill "$3" -annotate "+0+$4" "$5")
}
args+=(-gravity North)
text "$serif" 44 "$cover" 236 'Vellumstack'
text "$sans" 18 "$ink" 296 'An offline English–Arabic dictionary'
text "$sans" 14 "$ink" 326 'Words, idioms and expressions'
# (The version goes between these lines and the rule.)
args+=(-fill "$rule" -draw 'rectangle 159,391 359,391')
text "$sans" 12 "$ink" 402 'Arabic translations from the FreeDict English–Arabic dictionary'
text "$sans" 12 "$ink" 420 'Idioms and their glosses from WordNet 3.0, © Princeton University'

convert "${args[@]}" -type TrueColor -compress None "BMP3:$output"
echo "==> $output"
