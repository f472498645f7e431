#!/usr/bin/env bash
# Makes the game's three sounds from nothing but sox: a beep, applause and laughter, each mono
# 16-bit PCM at 22050 Hz, normalised to -3 dBFS. Every random choice comes from a fixed-seed
# generator and sox runs in repeatable mode, so the same sox makes byte-identical files.
# Usage: make-sounds.sh [output folder]   (default: assets/sounds)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-"$root/assets/sounds"}

if ! command -v sox >/dev/null; then
    echo "sox is missing: apt-get install sox" >&2
    exit 1
fi

mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=22050
format=(-r "$rate" -c 1 -b 16 -e signed-integer)
peak=-3

# A linear congruential generator in shell arithmetic: awk's and sox's generators differ
# between versions, this one does not. random_between low high sets $value.
seed=20240601
random_between() {
    seed=$(((seed * 1103515245 + 12345) % 2147483648))
    value=$(($1 + (seed / 65536) % ($2 - $1 + 1)))
}

# Milliseconds as the seconds sox expects.
seconds() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }

# Beep: 150 ms of A5 with a soft fifth above, quick attack and a smooth tail, so it reads as a
# chime rather than a buzzer.
make_beep() {
    sox -R -n "${format[@]}" "$work/beep-low.wav" synth 0.15 sine 880
    sox -R -n "${format[@]}" "$work/beep-high.wav" synth 0.15 sine 1320 vol 0.25
    sox -R -m "$work/beep-low.wav" "$work/beep-high.wav" "${format[@]}" "$out/beep.wav" \
        fade q 0.006 -0 0.09 norm "$peak"
}

# Applause: a dozen clappers, each clapping at its own pace with a little jitter. A clap is a
# 30-40 ms slice of one long noise (a different slice every time, so no two claps are the same),
# band-passed around the clapper's own hand resonance, with an instant attack and a fast decay.
make_applause() {
    local length_ms=1800
    sox -R -n "${format[@]}" "$work/noise.wav" synth 4 whitenoise
    local clappers=()
    for clapper in $(seq 1 12); do
        random_between 900 2600
        local centre=$value
        random_between 170 260
        local period=$value
        random_between 0 $period
        local at=$value
        local pieces=()
        [ "$at" -gt 0 ] && sox -R -n "${format[@]}" "$work/lead-$clapper.wav" trim 0 "$(seconds "$at")" &&
            pieces+=("$work/lead-$clapper.wav")
        local clap=0
        while [ $((at + 60)) -lt "$length_ms" ]; do
            clap=$((clap + 1))
            random_between 30 40
            local width=$value
            random_between 0 3500
            local offset=$value
            random_between 60 99
            local loudness=$value
            random_between -30 30
            local next=$((at + period + period * value / 100))
            local piece="$work/clap-$clapper-$clap.wav"
            sox -R "$work/noise.wav" "${format[@]}" "$piece" trim "$(seconds "$offset")" \
                "$(seconds "$width")" sinc 300-6000 bandpass "$centre" 1.2q \
                fade q 0.001 -0 "$(seconds $((width - 2)))" \
                vol "0.$loudness" pad 0 "$(seconds $((next - at - width)))"
            pieces+=("$piece")
            at=$next
        done
        if [ "$at" -lt "$length_ms" ]; then
            sox -R -n "${format[@]}" "$work/tail-$clapper.wav" trim 0 "$(seconds $((length_ms - at)))"
            pieces+=("$work/tail-$clapper.wav")
        fi
        sox -R "${pieces[@]}" "$work/clapper-$clapper.wav" trim 0 "$(seconds "$length_ms")"
        clappers+=("$work/clapper-$clapper.wav")
    done
    # The crowd starts together and dies away over the last 0.7 s; a short reverb puts it in a
    # room instead of right at the ear.
    sox -R -m "${clappers[@]}" "${format[@]}" "$work/crowd.wav" reverb 25 50 60
    sox -R "$work/crowd.wav" "${format[@]}" "$out/applauso.wav" \
        fade q 0.05 -0 0.7 norm "$peak"
}

# Laughter: seven "ha" syllables, each a breathy "h" running into an "a" vowel. The vowel is a
# buzz at a falling pitch shaped by the formants of an open "a" (about 800, 1200 and 2600 Hz)
# with a slight vibrato; the laugh starts high and loud and sinks and softens as it runs out.
make_laughter() {
    local syllables=()
    local pitch=330
    local gap=70
    for syllable in $(seq 1 7); do
        random_between 105 135
        local vowel=$value
        random_between -12 12
        local start=$((pitch + value))
        local end=$((start * 82 / 100))
        local level=$((100 - syllable * 8))
        sox -R "$work/noise.wav" "${format[@]}" "$work/h-$syllable.wav" trim "0.$((syllable * 3))" 0.05 \
            bandpass 1400 0.8q fade q 0.01 -0 0.03 norm -15
        sox -R -n "${format[@]}" "$work/a-$syllable.wav" synth "$(seconds "$vowel")" \
            sawtooth "$start-$end" vol 0.1 \
            equalizer 800 1.4q +16 equalizer 1200 2q +12 equalizer 2600 3q +8 sinc -3800 \
            tremolo 9 25 fade h 0.025 -0 0.06 norm -6 pad 0.035 0
        sox -R -m -v 1 "$work/h-$syllable.wav" -v 1 "$work/a-$syllable.wav" "${format[@]}" \
            "$work/ha-$syllable.wav" vol "0.$level" pad 0 "$(seconds "$gap")"
        syllables+=("$work/ha-$syllable.wav")
        pitch=$((pitch - 18))
        gap=$((gap + 12))
    done
    sox -R "${syllables[@]}" "${format[@]}" "$work/laugh.wav" reverb 15 50 40
    sox -R "$work/laugh.wav" "${format[@]}" "$out/risata.wav" norm "$peak"
}

make_beep
make_applause
make_laughter
for file in beep applauso risata; do
    printf '%-14s %6s s  %s bytes\n' "$file.wav" "$(soxi -D "$out/$file.wav")" \
        "$(stat -c %s "$out/$file.wav")"
done
