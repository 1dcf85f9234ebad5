#!/usr/bin/env bash
# Draws the program's pictures and synthesises its alert sound. Run by hand
# when a picture changes; the generated files are committed and the build
# only embeds them (resources.qrc). Needs ImageMagick and python3.
set -euo pipefail
cd "$(dirname "$0")"
F=DejaVu-Sans-Bold

# 1: online buddy - a running figure on a blue disc.
convert -size 16x16 xc:none \
  -fill '#2f6fd6' -stroke '#1b4a99' -draw 'circle 7.5,7.5 7.5,0.5' \
  -stroke white -strokewidth 1.4 -fill none \
  -draw 'circle 9,3.6 9,2.6' \
  -draw 'line 8.5,5 7,9' -draw 'line 8,6 11,8' -draw 'line 8,6 5,6.5' \
  -draw 'line 7,9 9.5,12.5' -draw 'line 7,9 4.5,11.5' \
  buddy-online.png
# 2: idle buddy - a green Zzz.
convert -size 16x16 xc:none -fill '#1f9d3a' -stroke none \
  -font $F -pointsize 10 -annotate +0+15 'Z' \
  -pointsize 7 -annotate +7+10 'z' -pointsize 5 -annotate +11+5 'z' \
  buddy-idle.png
# 3: away / other class - a light-blue triangle.
convert -size 16x16 xc:none -fill '#8fd3f4' -stroke '#3f95c0' \
  -draw 'polygon 8,2 14.5,13.5 1.5,13.5' buddy-away.png
# 4: mobile buddy - a mobile telephone.
convert -size 16x16 xc:none -fill '#505860' -stroke '#20262c' \
  -draw 'roundrectangle 4.5,1.5 11.5,14.5 1.5,1.5' \
  -fill '#bfe3a8' -stroke none -draw 'rectangle 6,3 10,7' \
  -fill '#d0d4d8' -draw 'rectangle 6,9 7,9' -draw 'rectangle 9,9 10,9' \
  -draw 'rectangle 6,11 7,11' -draw 'rectangle 9,11 10,11' \
  -draw 'rectangle 6,13 10,13' buddy-mobile.png

# Window icon: a blue speech bubble with a white V.
convert -size 32x32 xc:none -fill '#3d89bc' -stroke '#24577a' \
  -draw 'roundrectangle 1.5,2.5 30.5,23.5 6,6' \
  -draw 'polygon 8,23 8,30.5 15,23' \
  -stroke none -fill white -font $F -pointsize 19 -annotate +9+20 'V' \
  vorkle.png

# Alert animation, 9 by 25 pixels: an exclamation mark that pulses.
frames=()
i=0
for c in '#d81e1e' '#e8541e' '#f08a1e' '#f0b81e' '#f08a1e' '#e8541e'; do
  convert -size 9x25 xc:'#f1f2e6' -fill "$c" -stroke none \
    -draw 'roundrectangle 2,1 6,15 2,2' -draw 'circle 4,20.5 4,18' \
    "alert-$i.png"
  frames+=("alert-$i.png"); i=$((i+1))
done
convert -delay 12 -loop 0 -dispose background "${frames[@]}" alert.gif
rm -f "${frames[@]}"

# Settings panel picture, 128 by 120 pixels: the bubble and a wave of dots.
# The wave runs three times (loop 2) whenever the picture comes into view,
# then rests: a window left open all day costs nothing.
frames=()
for i in 0 1 2 3 4 5 6 7; do
  args=()
  for d in 0 1 2 3 4; do
    y=$(( 96 + ( (i + d) % 8 < 4 ? ( (i + d) % 8 ) : 8 - ( (i + d) % 8 ) ) * 3 ))
    x=$(( 30 + d * 17 ))
    args+=(-draw "circle $x,$y $((x+4)),$y")
  done
  convert -size 128x120 xc:'#f1f2e6' -fill '#3d89bc' -stroke '#24577a' -strokewidth 2 \
    -draw 'roundrectangle 14,8 114,74 14,14' -draw 'polygon 34,73 30,92 54,73' \
    -stroke none -fill white -font $F -pointsize 22 -annotate +24+50 'vorkle' \
    -fill '#3d89bc' "${args[@]}" "logo-$i.png"
  frames+=("logo-$i.png")
done
convert -delay 15 -loop 2 "${frames[@]}" logo.gif
# Its first frame alone: what the window's first paint shows.
convert 'logo.gif[0]' logo-first.png
rm -f "${frames[@]}"

# Alert sound: 0.25 s, two short falling tones, 22050 Hz mono 16-bit.
python3 - <<'PY'
import math, struct, wave
rate = 22050
samples = []
for freq, dur in ((1175.0, 0.11), (0.0, 0.03), (880.0, 0.11)):
    n = int(rate * dur)
    for k in range(n):
        env = min(1.0, k / 200.0, (n - k) / 400.0)
        v = 0.45 * env * math.sin(2 * math.pi * freq * k / rate) if freq else 0.0
        samples.append(int(v * 32767))
with wave.open("alert.wav", "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", s) for s in samples))
PY
