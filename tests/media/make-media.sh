#!/usr/bin/env bash
# Makes the clips the tests and the sample run use; tests/media/README.md lists them and
# tests/support/MediaFacts.h holds the same facts for the tests. Pictures come from FFmpeg's
# test sources: testsrc shows a frame counter, testsrc2 a moving pattern, so a test can tell one
# frame from its neighbour. Each file is written under a temporary name and renamed, and skipped
# when present, so an interrupted run resumes cleanly.
#
# usage: make-media.sh OUTDIR          the test clips
#        make-media.sh OUTDIR bench    the large benchmark clip only
# The type-1 DV AVIs need our RIFF writer: DV_TYPE1_AVI names its executable.
set -euo pipefail
out=${1:?usage: make-media.sh OUTDIR [bench]}
mode=${2:-tests}
case $mode in
  tests | bench) ;;
  *) echo "usage: make-media.sh OUTDIR [bench]" >&2; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
cd "$out"

# Clips made by another version of this generator are made again. Only a folder this script
# has marked as its own is ever cleared.
generator=$(cat "$here/make-media.sh" "$here"/tools/*.cpp | cksum)
if [ "$(cat .generator 2>/dev/null)" != "$generator" ]; then
  [ -e .generator ] && rm -f -- ./* ./.tmp.*
  echo "$generator" > .generator
fi

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

# produce NAME COMMAND...: runs COMMAND with a temporary path appended, then renames it to NAME;
# does nothing when NAME exists.
produce() {
  local name=$1; shift
  [ -s "$name" ] && return 0
  local tmp=".tmp.$name"
  "$@" "$tmp"
  mv -f "$tmp" "$name"
}

# make NAME FFMPEG-ARGS...: an ffmpeg output.
make() {
  local name=$1; shift
  produce "$name" ff "$@"
}

# cut_copy SRC BYTES DEST: the first BYTES of SRC.
cut_copy() { head -c "$2" "$1" > "$3"; }

video() { echo "testsrc2=size=$1:rate=$2:duration=$3"; }   # moving pattern
counter() { echo "testsrc=size=$1:rate=$2:duration=$3"; }  # frame counter
tone() { echo "sine=frequency=$1:sample_rate=$2:duration=$3"; }

# top_box FILE TYPE: prints the offset and size of the first top-level MP4 box of TYPE.
top_box() {
  local file=$1 type=$2 pos=0 end size name
  local -a b
  end=$(stat -c %s "$file")
  while [ "$pos" -lt "$end" ]; do
    read -r -a b < <(od -An -v -j "$pos" -N 8 -tx1 "$file")
    size=$((16#${b[0]}${b[1]}${b[2]}${b[3]}))
    name=$(printf "\\x${b[4]}\\x${b[5]}\\x${b[6]}\\x${b[7]}")
    [ "$size" -ge 8 ] || { echo "top_box: unsupported box size in $file" >&2; return 1; }
    if [ "$name" = "$type" ]; then
      echo "$pos $size"
      return 0
    fi
    pos=$((pos + size))
  done
  echo "top_box: no $type box in $file" >&2
  return 1
}

# cut_mdat SRC DEST: SRC cut in the middle of its media data.
cut_mdat() {
  local offset size
  read -r offset size < <(top_box "$1" mdat)
  cut_copy "$1" $((offset + size / 2)) "$2"
}

# cut_mdat_index_first SRC DEST: like cut_mdat, on a copy of SRC with its index moved in front.
cut_mdat_index_first() {
  local moved=$2.moved.mp4
  ff -i "$1" -c copy -movflags +faststart -f mp4 "$moved"
  cut_mdat "$moved" "$2"
  rm -f "$moved"
}

# scramble SRC DEST: SRC with 32 KiB in its middle overwritten by noise (seeded, so every run
# writes the same bytes).
scramble() {
  local noise=.noise.bin half
  ff -f lavfi -i "anoisesrc=duration=1:sample_rate=16384:seed=7" -c:a pcm_s16le -f s16le "$noise"
  cp "$1" "$2"
  half=$(($(stat -c %s "$1") / 2))
  dd if="$noise" of="$2" bs=32768 count=1 oflag=seek_bytes seek="$half" conv=notrunc status=none
  rm -f "$noise"
}

if [ "$mode" = bench ]; then
  # 1080p H.264, GOP 250 (two GOPs), for the benchmarks.
  make h264_1080p_gop250.mp4 -f lavfi -i "$(video 1920x1080 25 20)" -f lavfi -i "$(tone 440 48000 20)" \
    -c:v libx264 -preset veryfast -g 250 -keyint_min 250 -sc_threshold 0 -bf 3 -pix_fmt yuv420p \
    -c:a aac -b:a 96k -f mp4
  exit 0
fi

# H.264 + AAC in MP4, long GOP with B-frames: the sample clip of the README.
make h264_aac.mp4 -f lavfi -i "$(video 640x360 25 10)" -f lavfi -i "sine=frequency=440:duration=10" \
  -c:v libx264 -preset veryfast -g 250 -bf 3 -pix_fmt yuv420p -c:a aac -b:a 96k -f mp4

# H.264 + two AAC streams (English mono 440 Hz, German stereo 880 Hz).
make h264_2aac.mp4 -f lavfi -i "$(counter 320x240 25 4)" -f lavfi -i "$(tone 440 48000 4)" \
  -f lavfi -i "$(tone 880 48000 4)" -map 0:v -map 1:a -map 2:a -ac:a:1 2 \
  -c:v libx264 -preset veryfast -g 50 -bf 2 -pix_fmt yuv420p -c:a aac -b:a 96k \
  -metadata:s:a:0 language=eng -metadata:s:a:1 language=deu -f mp4

# MPEG-2 video + MP2 audio, 16:9 display, in a program stream and a transport stream.
mpeg2=(-f lavfi -i "$(counter 720x576 25 3)" -f lavfi -i "$(tone 440 48000 3)" -ac 2
  -c:v mpeg2video -b:v 4M -g 12 -bf 2 -aspect 16:9 -pix_fmt yuv420p -c:a mp2 -b:a 192k)
make mpeg2_mp2.mpg "${mpeg2[@]}" -f vob
make mpeg2_mp2.ts "${mpeg2[@]}" -f mpegts

# Raw DV with recording date/time and timecode: the DV muxer writes both from the metadata and
# advances them with every frame. The NTSC audio runs a little longer than the video so the
# muxer never runs short of samples for the last frame.
make dv_pal_16x9.dv -f lavfi -i "$(counter 720x576 25 2)" -f lavfi -i "$(tone 440 48000 2)" -ac 2 \
  -c:v dvvideo -pix_fmt yuv420p -aspect 16:9 -c:a pcm_s16le \
  -metadata creation_time=2024-03-14T15:09:26Z -metadata timecode=10:20:30:00 -f dv
make dv_ntsc_4x3.dv -f lavfi -i "$(counter 720x480 30000/1001 2.002)" -f lavfi -i "$(tone 440 48000 2.2)" \
  -ac 2 -c:v dvvideo -pix_fmt yuv411p -aspect 4:3 -c:a pcm_s16le \
  -metadata creation_time=2023-11-05T08:07:06Z -metadata "timecode=01:02:03;04" -f dv

# DV in AVI: type 2 (separate DV video and PCM audio streams) by FFmpeg, type 1 (one interleaved
# stream) by our own writer.
for system in pal_16x9 ntsc_4x3; do
  make "dv_${system}_type2.avi" -i "dv_${system}.dv" -c copy -f avi
  produce "dv_${system}_type1.avi" "${DV_TYPE1_AVI:?DV_TYPE1_AVI must name the dv-type1-avi tool}" \
    "dv_${system}.dv"
done

# H.264 + Vorbis in Matroska at 30000/1001 fps: millisecond stamps fall just short of some frame
# times. Video starts at 0; not shifting the stamps leaves the Vorbis priming just before it.
# Bit-exact output leaves out the random segment ID, so every run writes the same file.
make h264_vorbis_2997.mkv -f lavfi -i "$(counter 320x240 30000/1001 5.005)" -f lavfi -i "$(tone 440 48000 5)" \
  -ac 2 -c:v libx264 -preset veryfast -g 30 -bf 2 -pix_fmt yuv420p -c:a libvorbis -q:a 3 \
  -avoid_negative_ts disabled -fflags +bitexact -f matroska

# WMV2 + WMA2 in ASF, as .wmv and as .asf.
make wmv2_wma2.wmv -f lavfi -i "$(counter 320x240 25 4)" -f lavfi -i "$(tone 440 44100 4)" -ac 2 \
  -c:v wmv2 -b:v 800k -g 25 -c:a wmav2 -b:a 128k -f asf
make wmv2_wma2.asf -i wmv2_wma2.wmv -c copy -f asf

# PCM 16-bit stereo tone.
make tone_1khz.wav -f lavfi -i "$(tone 1000 48000 3)" -ac 2 -c:a pcm_s16le -f wav

# Damaged files. MP4 cut in the middle of the media data, once with the index (moov) in front
# and once with it at the end, where the cut loses it.
produce truncated_index_first.mp4 cut_mdat_index_first h264_aac.mp4
produce truncated_no_index.mp4 cut_mdat h264_aac.mp4
# MPEG program stream with noise over 32 KiB in the middle.
produce garbage_middle.mpg scramble mpeg2_mp2.mpg
# Zero bytes with a video extension.
[ -e empty.mp4 ] || : > empty.mp4
# Raw PAL DV: ten whole frames and part of the eleventh.
produce truncated.dv cut_copy dv_pal_16x9.dv $((10 * 144000 + 50000))
