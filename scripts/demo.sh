#!/usr/bin/env bash
# The main job on a fresh machine: install, build, make a demo "Mirkado 4" (or "Kobaltin") DATA folder and an
# empty "Selvanto 5" DATA folder with its templates under FOLDER, and run the upgrade on them: in the window
# when a display is there, otherwise with the batch command.
#   scripts/demo.sh [FOLDER] [mirkado4|kobaltin]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
folder=${1:-$HOME/selvanto-demo}
kind=${2:-mirkado4}
WITH_SERVER=0 scripts/install-deps.sh
scripts/build.sh
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
case "$kind" in
  mirkado4) source="$folder/MIRKADO4/DATA" ;;
  kobaltin) source="$folder/ZKT3/DATA" ;;
  *) echo "kind: mirkado4 or kobaltin" >&2; exit 64 ;;
esac
target="$folder/SELVANTO5/DATA"
rm -rf "$source" "$target"
"$root/build/bench/selvanto-make-source" --preset demo --kind "$kind" --source "$source" --target "$target"
echo "Eski veriler : $source"
echo "Yeni veriler : $target"
if [ -n "${DISPLAY:-}" ] && [ -x "$root/build/app/gui/selvanto-upgrade" ] && [ "${BATCH:-0}" != 1 ]; then
  # The window keeps no options of its own: the operator gives it the two folders.
  echo "Pencerede eski \"DATA\" dizinine  $source"
  echo "yeni \"DATA\" dizinine            $target"
  echo "yazıp (Kobaltin için \"Eski Sürüm\" seçimini değiştirip) \"Upgrade\" düğmesine basınız; parola: masterkey"
  exec "$root/build/app/gui/selvanto-upgrade"
fi
echo masterkey | "$root/build/app/batch/selvanto-upgrade-batch" --source-kind "$kind" --source "$source" --target "$target"
