#!/usr/bin/env bash
# Draws the pictures of the windows (ImageMagick), as 24-bit BMP files that
# Pictures.rc builds into the programs. Run it again after changing a picture.
set -eu
cd "$(dirname "$0")"

# The welcome picture, 140 x 140: a small diagram on a blue tile (three
# labels in a staircase, their links with dots, the basic-units box).
convert -size 140x140 xc:'#f0f0f0' \
  -fill '#1f4e8c' -stroke none -draw 'roundrectangle 4,4 135,135 20,20' \
  -fill '#3a78c2' -draw 'roundrectangle 4,4 135,118 20,20' -draw 'rectangle 4,100 135,118' \
  -stroke '#ffffff' -strokewidth 2 -fill none \
  -draw 'line 104,41 104,61' -draw 'line 104,61 92,61' \
  -draw 'line 112,41 112,93' -draw 'line 112,93 70,93' \
  -draw 'line 80,71 80,93' -draw 'line 86,71 86,112' -draw 'line 50,102 50,112' \
  -stroke none -fill '#ffd24a' -draw 'circle 104,61 104,64.5' -draw 'circle 112,93 112,96.5' -draw 'circle 80,93 80,96.5' \
  -stroke '#f08a24' -strokewidth 3 -fill white -draw 'rectangle 76,22 124,40' \
  -stroke '#2e9e4f' -draw 'rectangle 44,52 92,70' \
  -stroke '#8e44ad' -draw 'rectangle 20,84 70,102' \
  -stroke none -fill '#c8ccd4' -draw 'roundrectangle 14,112 126,128 4,4' \
  -stroke none -fill '#1f4e8c' \
  -draw 'rectangle 84,29 116,33' -draw 'rectangle 52,59 84,63' -draw 'rectangle 28,91 62,95' \
  -fill '#7d8594' -draw 'rectangle 40,118 100,122' \
  -type TrueColor BMP3:welcome.bmp

# The maker's mark for the welcome window's bottom strip; the colour of the
# bottom-left pixel is shown transparent.
convert -size 112x24 xc:'#c0c0c0' \
  -fill '#1f4e8c' -stroke none -draw 'polygon 10,3 18,12 10,21 2,12' \
  -fill '#f0f0f0' -draw 'polygon 10,8 14,12 10,16 6,12' \
  -fill '#1f4e8c' -font DejaVu-Serif-Bold-Italic -pointsize 16 -draw "text 24,18 'Quorvel'" \
  -type TrueColor BMP3:quorvel.bmp

# The files list's images, 16 x 16 each in one strip: used file, unused
# file, location. Magenta is transparent; drawn without smoothing so that no
# pixel is half magenta.
convert -size 48x16 xc:'#ff00ff' +antialias \
  -stroke '#303030' -fill white -draw 'polygon 2,1 10,1 13,4 13,14 2,14 2,1' \
  -fill '#d0d0d0' -draw 'polygon 10,1 10,4 13,4' \
  -stroke '#2060c0' -draw 'line 4,6 10,6' -draw 'line 4,8 11,8' -draw 'line 4,10 9,10' \
  -stroke '#1a8a2e' -strokewidth 2 -draw 'line 7,12 9,14' -draw 'line 9,14 14,8' -strokewidth 1 \
  -stroke '#909090' -fill '#f4f4f4' -draw 'polygon 18,1 26,1 29,4 29,14 18,14 18,1' \
  -fill '#e0e0e0' -draw 'polygon 26,1 26,4 29,4' \
  -stroke '#b8b8b8' -draw 'line 20,6 26,6' -draw 'line 20,8 27,8' -draw 'line 20,10 25,10' \
  -stroke '#a06a00' -fill '#e8b830' -draw 'polygon 33,3 38,3 40,5 46,5 46,13 33,13 33,3' \
  -fill '#f8d860' -draw 'polygon 33,13 35,7 47,7 46,13' \
  -type TrueColor BMP3:tree.bmp

# The arrows of the locations editor's up and down buttons, on the grey
# that loading maps to the button face (which works on palette bitmaps only).
convert -size 16x16 xc:'#c0c0c0' +antialias -fill black -stroke none \
  -draw 'polygon 8,3 14,10 2,10' -draw 'rectangle 6,10 10,13' -type Palette BMP3:up.bmp
convert -size 16x16 xc:'#c0c0c0' +antialias -fill black -stroke none \
  -draw 'polygon 8,13 14,6 2,6' -draw 'rectangle 6,2 10,6' -type Palette BMP3:down.bmp

# The program's and the library's icon "MAINICON", 32 x 32 and 16 x 16: the
# welcome picture's staircase of three labels and their links, small.
convert -size 32x32 xc:none \
  -fill '#1f4e8c' -stroke none -draw 'roundrectangle 0,0 31,31 6,6' \
  -stroke '#ffffff' -strokewidth 2 -fill none \
  -draw 'line 24,9 24,16' -draw 'line 24,16 18,16' -draw 'line 14,20 14,25' \
  -stroke '#f08a24' -strokewidth 2 -fill white -draw 'rectangle 16,4 28,9' \
  -stroke '#2e9e4f' -draw 'rectangle 8,14 20,19' \
  -stroke '#8e44ad' -draw 'rectangle 3,24 15,28' \
  icon32.png
convert icon32.png \( icon32.png -resize 16x16 \) usagram.ico
rm -f icon32.png
