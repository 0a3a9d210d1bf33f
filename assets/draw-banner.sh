#!/usr/bin/env bash
# Draws assets/banner.png, the update window's banner: 530 x 146, 8-bit RGBA.
# A pale blue band with the light-blue words 系统 and 更新 over a dark red
# shadow, above three rounded labels 新版本 (yellow), 新功能 (white), 新花样 (yellow).
# Needs ImageMagick and a CJK font (scripts/setup.sh installs both).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/banner.png}
font=${BANNER_FONT:-$(fc-match -f '%{file}' 'WenQuanYi Micro Hei:lang=zh-cn')}

label() {  # x y fill text
  local x=$1 y=$2 fill=$3 text=$4
  printf -- "-fill %s -stroke '#5b7fa6' -strokewidth 2 -draw \"roundrectangle %d,%d %d,%d 14,14\" " \
    "$fill" "$x" "$y" $((x + 120)) $((y + 34))
  printf -- "-stroke none -fill '#2d4a6b' -pointsize 20 -annotate +%d+%d '%s' " \
    $((x + 30)) $((y + 25)) "$text"
}

eval convert -size 530x146 xc:none \
  -fill "'#dcecfb'" -draw "'roundrectangle 0,0 529,145 10,10'" \
  -fill "'#c6def5'" -draw "'rectangle 0,96 529,145'" \
  -font "'$font'" -pointsize 54 \
  -fill "'#7a1a1a'" -annotate +124+72 "'系统'" -annotate +294+72 "'更新'" \
  -fill "'#8cc8f5'" -annotate +120+68 "'系统'" -annotate +290+68 "'更新'" \
  "$(label 60 104 "'#ffe066'" 新版本)" \
  "$(label 205 104 "'#ffffff'" 新功能)" \
  "$(label 350 104 "'#ffe066'" 新花样)" \
  -define png:color-type=6 -define png:bit-depth=8 "PNG32:'$out'"
echo "banner: $out"
