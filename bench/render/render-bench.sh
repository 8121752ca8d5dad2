#!/usr/bin/env bash
# Pictures per second, CPU time and peak memory of kestrin-play --free-run against
# `ffmpeg -i CLIP -pix_fmt bgra -f null -` on the same clip in the same run.
set -euo pipefail
build=${1:?usage: render-bench.sh BUILD_DIR [CLIP]}
clip=${2:-$build/test-media/h264_1080p_gop250.mp4}
[ -f "$clip" ] || { echo "missing $clip: run ninja -C $build bench_media"; exit 1; }
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$clip")

measure() { # prints: seconds cpu_seconds peak_kb
  local log; log=$(mktemp)
  /usr/bin/time -v "$@" >/dev/null 2>"$log"
  awk -F': ' '/Elapsed \(wall clock\)/{n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]}
              /User time/{u=$2} /System time/{y=$2} /Maximum resident/{m=$2}
              END{printf "%.2f %.2f %d\n", s, u+y, m}' "$log"
  rm -f "$log"
}

read -r ks kc km < <(QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy measure "$build/src/app/kestrin-play" --free-run "$clip")
read -r fs fc fm < <(measure ffmpeg -v error -i "$clip" -pix_fmt bgra -f null -)
awk -v f="$frames" -v ks="$ks" -v kc="$kc" -v km="$km" -v fs="$fs" -v fc="$fc" -v fm="$fm" 'BEGIN{
  printf "clip frames: %d\n", f
  printf "kestrin: %6.1f pictures/s  cpu %6.2f s  peak %7d kB\n", f/ks, kc, km
  printf "ffmpeg:  %6.1f pictures/s  cpu %6.2f s  peak %7d kB\n", f/fs, fc, fm
  printf "ratios (kestrin/ffmpeg): speed %.2f  cpu %.2f  memory %.2f\n", fs/ks, kc/fc, km/fm }'
