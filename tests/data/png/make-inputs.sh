#!/bin/sh
# Makes the PNG test inputs with netpbm's pnmtopng (run once; the results
# are committed). The pictures follow formulas that the tests restate:
#   colour: red 19x, green 28y, blue 7xy mod 256; alpha 12(x+y)
#   grey:   (19x + 7y) mod 256, its top bits at depths below 8, times 256 at 16
# 13 x 9 pixels, so rows end inside a byte at every depth.
set -e
cd "$(dirname "$0")"
t=$(mktemp -d)
python3 - "$t" <<'PY'
import sys
d = sys.argv[1]
W, H = 13, 9
def rgb(x, y): return (19 * x, 28 * y, (7 * x * y) % 256)
def grey(x, y): return (19 * x + 7 * y) % 256
def alpha(x, y): return 12 * (x + y)
def write(name, magic, maxval, rows):
    with open(f"{d}/{name}", "w") as f:
        f.write(f"{magic}\n{W} {H}\n{maxval}\n")
        for r in rows: f.write(" ".join(str(v) for v in r) + "\n")
write("rgb8.ppm", "P3", 255, [[c for x in range(W) for c in rgb(x, y)] for y in range(H)])
write("rgb16.ppm", "P3", 65535, [[c * 257 + x for x in range(W) for c in rgb(x, y)] for y in range(H)])
write("alpha8.pgm", "P2", 255, [[alpha(x, y) for x in range(W)] for y in range(H)])
write("alpha16.pgm", "P2", 65535, [[alpha(x, y) * 257 for x in range(W)] for y in range(H)])
for bits in (1, 2, 4, 8, 16):
    m = (1 << bits) - 1
    write(f"grey{bits}.pgm", "P2", m, [[grey(x, y) * (m + 1) // 256 for x in range(W)] for y in range(H)])
# palettes of 2, 4, 16 and 40 colours
def pal(n):
    return [(i * 37 % 256, i * 91 % 256, 255 - i * 5) for i in range(n)]
for n in (2, 4, 16, 40):
    p = pal(n)
    write(f"pal{n}.ppm", "P3", 255, [[c for x in range(W) for c in p[(x + 3 * y) % n]] for y in range(H)])
PY
P=pnmtopng
$P -force "$t/rgb8.ppm" > rgb8.png
$P -force "$t/rgb16.ppm" > rgb16.png
$P -force -alpha="$t/alpha8.pgm" "$t/rgb8.ppm" > rgba8.png
$P -force -alpha="$t/alpha16.pgm" "$t/rgb16.ppm" > rgba16.png
$P -force -alpha="$t/alpha8.pgm" -interlace "$t/rgb8.ppm" > rgba8-adam7.png
for b in 1 2 4 8 16; do $P -force "$t/grey$b.pgm" > grey$b.png; done
$P -force -interlace "$t/grey2.pgm" > grey2-adam7.png
$P -force -alpha="$t/alpha8.pgm" "$t/grey8.pgm" > greya8.png
$P -force -alpha="$t/alpha16.pgm" "$t/grey16.pgm" > greya16.png
for n in 2 4 16 40; do $P "$t/pal$n.ppm" > pal$n.png; done
$P -interlace "$t/pal16.ppm" > pal16-adam7.png
$P -transparent=rgb:25/5b/fa "$t/pal4.ppm" > pal4-trns.png
$P -force -transparent=rgb:26/38/1c "$t/rgb8.ppm" > rgb8-trns.png
$P -force -transparent=gray51 "$t/grey8.pgm" > grey8-trns.png
$P -force -gamma=1.0 "$t/rgb8.ppm" > rgb8-gamma.png
printf 'Title Hafen am Abend\nAuthor Mosaikschauer\n' > "$t/text"
$P -force -text="$t/text" -modtime="2023-06-14 09:05:07" "$t/grey8.pgm" > grey8-text.png
$P -force -comp_buffer_size=32 "$t/rgb8.ppm" > rgb8-idats.png
exiftool -q -z -overwrite_original -PNG:Comment="Ein komprimierter Text, der sich wiederholt, wiederholt, wiederholt." grey8-text.png
rm -rf "$t"
