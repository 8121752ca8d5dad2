#!/usr/bin/env bash
# Kestrin's main job on the sample clip the build makes: with a display, the clip opens in the main
# window; without one, the command-line job grabs its first image and quits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build" kestrin test_media
sample=$build/test-media/h264_aac.mp4
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/app/kestrin" "/o=$sample"
fi
out=$build/sample-grabs
mkdir -p "$out"
"$build/src/app/kestrin" "/o=$sample" "/savfold=$out/" /n=1 /g /quit
if compgen -G "$out/*" >/dev/null; then
  echo "Images saved in $out:"
  ls -l "$out"
else
  echo "Kestrin ran the job on $sample; no image was saved in $out."
fi
