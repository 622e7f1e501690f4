#!/usr/bin/env bash
# Makes a folder of sample songs for looking at the window: copies of the test fixtures tagged
# with quorl-cli (Unicode titles, two albums, covers). Usage: sample-songs.sh QUORL_CLI FOLDER
set -euo pipefail
cli="$1"
folder="$2"
data="$(cd "$(dirname "$0")/../tests/data" && pwd)"
mkdir -p "$folder"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Two covers, drawn.
convert -size 600x600 gradient:'#2b5876-#4e4376' -font DejaVu-Sans -fill white -pointsize 64 -gravity center \
  -annotate 0 'Nachtlieder' "$work/cover1.jpg"
convert -size 500x500 gradient:'#f6d365-#fda085' -font DejaVu-Sans -fill '#402010' -pointsize 56 -gravity center \
  -annotate 0 'Sol y Sombra' "$work/cover2.png"

tag() { "$cli" --quiet --yes edit "$@" >/dev/null; }

n=0
for title in "Erste Nacht" "Über den Wolken" "Déjà vu" "Träumerei" "Mondlicht"; do
  n=$((n + 1))
  ext=mp3; [ $n -eq 3 ] && ext=flac; [ $n -eq 5 ] && ext=m4a
  file="$folder/$(printf '%02d' $n) $title.$ext"
  cp "$data/silence.$ext" "$file"
  chmod u+w "$file"
  tag --title "$title" --artist "Kaja Ström" --album "Nachtlieder" --track "$n/5" \
      --genre "Ambient" --year 2021 --add-cover "$work/cover1.jpg" "$file"
done
n=0
for title in "Canción del río" "Рассвет" "Σκιά" "Café à l’aube"; do
  n=$((n + 1))
  ext=mp3; [ $n -eq 2 ] && ext=aiff; [ $n -eq 4 ] && ext=wav
  file="$folder/Sol y Sombra - $(printf '%02d' $n) $title.$ext"
  cp "$data/silence.$ext" "$file"
  chmod u+w "$file"
  tag --title "$title" --artist "Lúa Varela" --album "Sol y Sombra" --track "$n/4" --disc 1/1 \
      --genre "Folk" --year 2019 --comment "Live at the harbour" --add-cover "$work/cover2.png" "$file"
done
