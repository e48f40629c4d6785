#!/bin/sh
# Makes the orientation test inputs with ImageMagick and exiftool (run once;
# the results are committed): a 400 x 300 picture of smooth ramps (red
# across, green down, blue along the diagonal), stored as it is and tagged
# with EXIF Orientation 6 and 3, and for each the upright picture as
# ImageMagick's -auto-orient shows it, averaged over 10 x 10 blocks.
set -e
rm -f o?.jpg
cd "$(dirname "$0")"
t=$(mktemp -d)
/usr/bin/convert -size 400x300 xc: -channel R -fx '0.2+0.6*i/w' -channel G -fx '0.25+0.5*j/h' \
  -channel B -fx '0.3+0.4*(i+j)/(w+h)' +channel -quality 85 -sampling-factor 1x1 "$t/base.jpg"
for o in 6 3; do
  exiftool -q -Orientation#=$o -o "o$o.jpg" "$t/base.jpg"
  /usr/bin/convert "o$o.jpg" -auto-orient -scale 10% -depth 8 "o$o-aufrecht.ppm"
done
rm -r "$t"
