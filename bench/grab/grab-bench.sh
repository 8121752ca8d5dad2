#!/usr/bin/env bash
# Time and peak memory of one `kestrin` command-line run grabbing 20 given frames of the 1080p
# H.264 clip (GOP 250) to JPEG, against FFmpeg extracting the same frames in the same run: the
# faster of one `ffmpeg -ss` per frame and one `select` filter run. The kestrin and select runs
# alternate RUNS times (default 5) and their medians are compared; the -ss way runs once.
set -euo pipefail
build=${1:?usage: grab-bench.sh BUILD_DIR [CLIP] [RUNS]}
clip=${2:-$build/test-media/h264_1080p_gop250.mp4}
runs=${3:-5}
[ -f "$clip" ] || { echo "missing $clip: run ninja -C $build bench_media"; exit 1; }
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$clip")
rate=$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 "$clip")
fps=$(( ${rate%/*} / ${rate#*/} ))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 20 distinct frames, the same every run.
mapfile -t targets < <(awk -v n="$frames" 'BEGIN{srand(11); while (c < 20) {f = 1 + int(rand() * (n - 2)); if (!(f in s)) {s[f]; c++; print f}}}' | sort -n)

measure() { # prints: seconds peak_kb
  local log; log=$(mktemp)
  /usr/bin/time -v "$@" >/dev/null 2>"$log"
  awk -F': ' '/Elapsed \(wall clock\)/{n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]}
              /Maximum resident/{m=$2} END{printf "%.3f %d\n", s, m}' "$log"
  rm -f "$log"
}

args=("/o=$clip" "/savfold=$work/k/" /root=K /an /dig=3 /n=1 /iex=1 /qual=90 -ci)
for f in "${targets[@]}"; do
  args+=("/StrPos=$(printf '0:%02d:%02d:%02d' $((f / fps / 60)) $((f / fps % 60)) $((f % fps)))" /g)
done
mkdir -p "$work/k" "$work/s" "$work/e"
median() { sort -n | awk '{v[NR] = $1} END{print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
select=$(printf 'eq(n\\,%s)+' "${targets[@]}"); select=${select%+}
kt=(); kmem=(); st=(); smem=()
for ((r = 0; r < runs; r++)); do
  rm -f "$work"/k/*
  read -r t m < <(QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy measure "$build/src/app/kestrin" "${args[@]}" /quit)
  kt+=("$t"); kmem+=("$m")
  read -r t m < <(measure ffmpeg -v error -i "$clip" -vf "select=$select" -vsync 0 -q:v 2 -y "$work/s/%03d.jpg")
  st+=("$t"); smem+=("$m")
done
saved=$(find "$work/k" -name '*.jpg' | wc -l)
ks=$(printf '%s\n' "${kt[@]}" | median); km=$(printf '%s\n' "${kmem[@]}" | median)
ss=$(printf '%s\n' "${st[@]}" | median); sm=$(printf '%s\n' "${smem[@]}" | median)
echo "kestrin runs (s):        ${kt[*]}"
echo "ffmpeg select runs (s):  ${st[*]}"

es=0; em=0
for f in "${targets[@]}"; do
  t=$(awk -v f="$f" -v r="$fps" 'BEGIN{printf "%.4f", f / r}')
  read -r s m < <(measure ffmpeg -v error -ss "$t" -i "$clip" -frames:v 1 -q:v 2 -y "$work/e/$f.jpg")
  es=$(awk -v a="$es" -v b="$s" 'BEGIN{print a + b}'); [ "$m" -gt "$em" ] && em=$m
done

awk -v ks="$ks" -v km="$km" -v es="$es" -v em="$em" -v ss="$ss" -v sm="$sm" -v saved="$saved" 'BEGIN{
  if (es < ss) { fs = es; fm = em; way = "ffmpeg -ss per frame" } else { fs = ss; fm = sm; way = "ffmpeg select run" }
  printf "kestrin, median:        %7.2f s  peak %8d kB  (%d images saved)\n", ks, km, saved
  printf "ffmpeg -ss per frame:   %7.2f s  peak %8d kB\n", es, em
  printf "ffmpeg select, median:  %7.2f s  peak %8d kB\n", ss, sm
  printf "ratios against the faster (%s): time %.2f  peak memory %.2f\n", way, ks / fs, km / fm }'
