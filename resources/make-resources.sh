#!/usr/bin/env bash
# Draws the program's pictures and synthesises its alert sound. Run by hand
# when a picture changes; the generated files are committed and the build
# only embeds them (resources.qrc). Needs ImageMagick and python3.
#
# Every picture is drawn at 1x and again at 2x for high-DPI screens (the
# large ones, logo and alert, also at 1.5x where the size comes out whole),
# under Qt's "@2x" file name convention; uikit/pictures.* picks the file.
set -euo pipefail
cd "$(dirname "$0")"
F=DejaVu-Sans-Bold
# No creation dates in the PNGs: the same drawing gives the same bytes.
PNG=(-define png:exclude-chunks=date,time)

# One drawing, any scale S. ImageMagick puts pixel centres on whole
# coordinates and spreads a filled edge half a pixel outwards at every
# scale, so a scaled point moves by (S-1)/2 too and shapes without a stroke
# grow by (S-1)/2: then the 2x picture covers what the 1x one covers rather
# than a thinner copy of it (the 2x files shrunk by half come closest to
# the 1x ones this way). Strokes simply scale.
calc() { awk "BEGIN { printf \"%g\", $1 }"; }
n() { calc "$S*$1"; }                          # a size or stroked radius
at() { calc "$S*$1+($S-1)/2"; }                # one coordinate
p() { echo "$(at "$1"),$(at "$2")"; }          # a point
sw() { calc "$S*$1"; }                         # a stroke width
grown() { calc "$S*$1+($S-1)/2"; }             # a radius without stroke
size() { echo "$(n "$1")x$(n "$2")"; }
# A rectangle without stroke over the pixels x0..x1, y0..y1.
box() { echo "$(n "$1"),$(n "$2") $(calc "$S*$3+$S-1"),$(calc "$S*$4+$S-1")"; }
# A disc without stroke: centre and radius.
disc() { echo "circle $(p "$1" "$2") $(at "$1"),$(calc "$S*$2+($S-1)/2-($(grown "$3"))")"; }
# Text placed at a baseline point.
text() { echo "-pointsize $(n "$1") -annotate +$(at "$2")+$(at "$3")"; }

# A GIF's NETSCAPE loop field, written as given: ImageMagick versions differ
# on what -loop N stores, and Qt plays a file its loop count plus once.
set_gif_loops() {
  python3 - "$1" "$2" <<'PY'
import sys
path, loops = sys.argv[1], int(sys.argv[2])
data = bytearray(open(path, "rb").read())
at = data.index(b"NETSCAPE2.0\x03\x01") + 13
data[at:at + 2] = loops.to_bytes(2, "little")
open(path, "wb").write(data)
PY
}

running_figure() { # $1: disc colour, $2: its rim, $3: file
  convert -size "$(size 16 16)" xc:none \
    -fill "$1" -stroke "$2" -strokewidth "$(sw 1)" \
    -draw "circle $(p 7.5 7.5) $(p 7.5 0.5)" \
    -stroke white -strokewidth "$(sw 1.4)" -fill none \
    -draw "circle $(p 9 3.6) $(p 9 2.6)" \
    -draw "line $(p 8.5 5) $(p 7 9)" -draw "line $(p 8 6) $(p 11 8)" \
    -draw "line $(p 8 6) $(p 5 6.5)" \
    -draw "line $(p 7 9) $(p 9.5 12.5)" -draw "line $(p 7 9) $(p 4.5 11.5)" \
    "${PNG[@]}" "$3"
}

buddies() { # $1: file suffix
  # 1: online buddy - a running figure on a blue disc.
  running_figure '#2f6fd6' '#1b4a99' "buddy-online$1.png"
  # 2: idle buddy - a green Zzz.
  # shellcheck disable=SC2046 # text() gives options and their values
  convert -size "$(size 16 16)" xc:none -fill '#1f9d3a' -stroke none \
    -font $F $(text 10 0 15) 'Z' $(text 7 7 10) 'z' $(text 5 11 5) 'z' \
    "${PNG[@]}" "buddy-idle$1.png"
  # 3: away / other class - a light-blue triangle.
  convert -size "$(size 16 16)" xc:none -fill '#8fd3f4' -stroke '#3f95c0' \
    -strokewidth "$(sw 1)" -draw "polygon $(p 8 2) $(p 14.5 13.5) $(p 1.5 13.5)" \
    "${PNG[@]}" "buddy-away$1.png"
  # 4: mobile buddy - a mobile telephone.
  convert -size "$(size 16 16)" xc:none -fill '#505860' -stroke '#20262c' \
    -strokewidth "$(sw 1)" \
    -draw "roundrectangle $(p 4.5 1.5) $(p 11.5 14.5) $(n 1.5),$(n 1.5)" \
    -fill '#bfe3a8' -stroke none -draw "rectangle $(box 6 3 10 7)" \
    -fill '#d0d4d8' -draw "rectangle $(box 6 9 7 9)" -draw "rectangle $(box 9 9 10 9)" \
    -draw "rectangle $(box 6 11 7 11)" -draw "rectangle $(box 9 11 10 11)" \
    -draw "rectangle $(box 6 13 10 13)" "${PNG[@]}" "buddy-mobile$1.png"
  # 5: offline buddy - the running figure on a grey disc.
  running_figure '#b4b8bc' '#8a8f94' "buddy-offline$1.png"
}

window_icon() { # $1: file suffix
  # A blue speech bubble with a white V.
  # shellcheck disable=SC2046
  convert -size "$(size 32 32)" xc:none -fill '#3d89bc' -stroke '#24577a' \
    -strokewidth "$(sw 1)" \
    -draw "roundrectangle $(p 1.5 2.5) $(p 30.5 23.5) $(n 6),$(n 6)" \
    -draw "polygon $(p 8 23) $(p 8 30.5) $(p 15 23)" \
    -stroke none -fill white -font $F $(text 19 9 20) 'V' \
    "${PNG[@]}" "vorkle$1.png"
}

alert() { # $1: file suffix
  # 9 by 25 pixels: an exclamation mark that pulses.
  local frames=() i=0 c
  for c in '#d81e1e' '#e8541e' '#f08a1e' '#f0b81e' '#f08a1e' '#e8541e'; do
    convert -size "$(size 9 25)" xc:'#f1f2e6' -fill "$c" -stroke none \
      -draw "roundrectangle $(box 2 1 6 15) $(grown 2),$(grown 2)" \
      -draw "$(disc 4 20.5 2.5)" "alert-$i.png"
    frames+=("alert-$i.png")
    i=$((i + 1))
  done
  convert -delay 12 -loop 0 -dispose background "${frames[@]}" "alert$1.gif"
  rm -f "${frames[@]}"
}

logo() { # $1: file suffix
  # 128 by 120 pixels: the bubble and a wave of dots. The wave runs three
  # times (loop 2) whenever the picture comes into view, then rests: a
  # window left open all day costs nothing.
  local frames=() i d x y args
  for i in 0 1 2 3 4 5 6 7; do
    args=()
    for d in 0 1 2 3 4; do
      y=$((96 + ((i + d) % 8 < 4 ? ((i + d) % 8) : 8 - ((i + d) % 8)) * 3))
      x=$((30 + d * 17))
      args+=(-draw "$(disc $x $y 4)")
    done
    # shellcheck disable=SC2046
    convert -size "$(size 128 120)" xc:'#f1f2e6' -fill '#3d89bc' -stroke '#24577a' \
      -strokewidth "$(sw 2)" \
      -draw "roundrectangle $(p 14 8) $(p 114 74) $(n 14),$(n 14)" \
      -draw "polygon $(p 34 73) $(p 30 92) $(p 54 73)" \
      -stroke none -fill white -font $F $(text 22 24 50) 'vorkle' \
      -fill '#3d89bc' "${args[@]}" "logo-$i.png"
    frames+=("logo-$i.png")
  done
  if [ -z "$1" ]; then
    convert -delay 15 -loop 2 "${frames[@]}" "logo$1.gif"
  else
    # Only the dots move: later frames keep just what changed (the 1x file
    # stays as first committed).
    convert -delay 15 -loop 2 "${frames[@]}" -layers OptimizeFrame "logo$1.gif"
  fi
  set_gif_loops "logo$1.gif" 2
  # Its first frame alone: what the window's first paint shows.
  convert "logo$1.gif[0]" "${PNG[@]}" "logo-first$1.png"
  rm -f "${frames[@]}"
}

S=1
buddies ''
window_icon ''
alert ''
logo ''
S=2
buddies @2x
window_icon @2x
alert @2x
logo @2x
# 9 by 25 at 1.5x is not a whole picture; the logo is.
S=1.5
logo @1.5x

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
