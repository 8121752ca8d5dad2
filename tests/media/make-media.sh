#!/usr/bin/env bash
# Makes the clips the tests and the sample run use. Every picture carries a frame counter so a
# test can tell one frame from its neighbour. Each file is written under a temporary name and
# renamed, and skipped when present, so an interrupted run resumes cleanly.
set -euo pipefail
out=${1:?usage: make-media.sh OUTDIR}
mkdir -p "$out"
cd "$out"

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

# make NAME ARGS...: runs ffmpeg with ARGS writing NAME unless NAME exists.
make() {
  local name=$1; shift
  [ -s "$name" ] && return 0
  local tmp=".tmp.$name"
  ff "$@" "$tmp"
  mv -f "$tmp" "$name"
}

video() { echo "testsrc2=size=$1:rate=$2:duration=$3"; }  # moving pattern: neighbouring frames differ

# H.264 + AAC in MP4, long GOP with B-frames: the sample clip of the README.
make h264_aac.mp4 -f lavfi -i "$(video 640x360 25 10)" -f lavfi -i "sine=frequency=440:duration=10" \
  -c:v libx264 -preset veryfast -g 250 -bf 3 -pix_fmt yuv420p -c:a aac -b:a 96k -f mp4
