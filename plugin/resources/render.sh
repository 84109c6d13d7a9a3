#!/usr/bin/env bash
# Régénère les ressources de Mesra à partir de leurs sources :
#   - chaque PNG de icons/ et cursors/ depuis le SVG de même nom (rsvg-convert),
#   - les quatre bips de sounds/ (sox).
# Se lance à la main après une retouche ; les PNG et WAV produits sont versionnés,
# la compilation n'exécute pas ce script.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")"

for outil in rsvg-convert sox; do
    command -v "$outil" >/dev/null || { echo "render.sh : $outil introuvable" >&2; exit 1; }
done

# rendu <source.svg> <largeur> <hauteur>
rendu() {
    rsvg-convert --format=png --width="$2" --height="$3" --output="${1%.svg}.png" "$1"
}

# Icônes d'outils : 24 x 24, thèmes clair et sombre.
for svg in icons/*.svg; do
    rendu "$svg" 24 24
done

# Curseurs : 16 x 16, sauf la main en 14 x 16.
for svg in cursors/*.svg; do
    case "$(basename "$svg")" in
        CurseurMain.svg) rendu "$svg" 14 16 ;;
        *)               rendu "$svg" 16 16 ;;
    esac
done

# bip <fichier> <durée s> <fréquence ou balayage> : sinus mono 22050 Hz 16 bits,
# attaque de 5 ms et extinction en quart de sinusoïde, sans tramage (sortie reproductible).
bip() {
    sox -D -n -r 22050 -c 1 -b 16 -e signed-integer "sounds/$1" \
        synth "$2" sine "$3" fade q 0.005 "$2" 0.045 vol 0.35
}
bip BipPoint.wav   0.06 1320
bip BipSegment.wav 0.07 990
bip BipArc.wav     0.09 880:990
bip BipBezier.wav  0.10 660

# Chaque image listée dans IDToFile.txt doit exister (les noms en x2 ne sont pas stockés).
manque=0
while IFS=$'\t' read -r _ _ nom; do
    [[ -z "${nom:-}" || "$nom" == *x2.png ]] && continue
    if [[ ! -f "icons/$nom" && ! -f "cursors/$nom" ]]; then
        echo "render.sh : $nom listé dans IDToFile.txt mais absent" >&2
        manque=1
    fi
done < IDToFile.txt
exit "$manque"
