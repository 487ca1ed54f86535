#!/usr/bin/python3
"""Synthesise the game's sounds from scratch.

Writes, relative to the repository root:
  Sounds/Blip_Select1.wav   the seed landing in a pit (a soft wooden tock)
  music/snowfall_final.ogg  the looping background piece

Run from anywhere:  /usr/bin/python3 assets/make_sounds.py
The output is byte-identical on every run: all randomness is seeded and the
Vorbis encoder gets a fixed serial number and quality.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import wave

import numpy as np

RATE = 44100
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def write_wav(path, data):
    """data: float array, shape (n,) or (channels, n), range -1..1."""
    data = np.atleast_2d(data)
    pcm = np.clip(np.round(data.T * 32767.0), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(data.shape[0])
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


# --------------------------------------------------------------------------
# Seed sound
# --------------------------------------------------------------------------

def make_seed_tock():
    """A small hard seed landing on a wooden board.

    A wooden bar rings with a few strongly damped, inharmonic modes; the
    impact itself adds a very short band-limited noise burst.  Everything is
    gone well before 120 ms.
    """
    rng = np.random.default_rng(7)
    length = int(0.120 * RATE)
    t = np.arange(length) / RATE

    # (frequency Hz, amplitude, decay time constant s) of the board modes.
    modes = [
        (610.0, 1.00, 0.022),
        (1340.0, 0.45, 0.012),
        (2270.0, 0.22, 0.007),
        (3480.0, 0.10, 0.004),
    ]
    out = np.zeros(length)
    for freq, amp, tau in modes:
        # A slight pitch drop right at the impact makes it sound less synthetic.
        f_t = freq * (1.0 + 0.03 * np.exp(-t / 0.004))
        phase = 2 * np.pi * np.cumsum(f_t) / RATE
        out += amp * np.sin(phase) * np.exp(-t / tau)

    # Impact noise, low-passed so the click stays soft rather than crisp.
    noise = rng.standard_normal(length) * np.exp(-t / 0.0025)
    spectrum = np.fft.rfft(noise)
    freqs = np.fft.rfftfreq(length, 1.0 / RATE)
    spectrum *= 1.0 / (1.0 + (freqs / 2500.0) ** 2)
    noise = np.fft.irfft(spectrum, length)
    out += 0.6 * noise / np.max(np.abs(noise))

    # Short fades so neither end clicks.
    fade_in = int(0.0015 * RATE)
    fade_out = int(0.015 * RATE)
    out[:fade_in] *= np.sin(np.linspace(0, np.pi / 2, fade_in)) ** 2
    out[-fade_out:] *= np.cos(np.linspace(0, np.pi / 2, fade_out)) ** 2
    out[-1] = 0.0
    return 0.7 * out / np.max(np.abs(out))


# --------------------------------------------------------------------------
# Music
# --------------------------------------------------------------------------

BPM = 72
BEAT = 60 * RATE // BPM  # 36750 samples, exactly
BARS = 24
N = BARS * 4 * BEAT  # 80 s; every note is placed on this circle


def add_wrapped(buf, start, sig, pan=0.0):
    """Mix a mono signal into the stereo loop buffer, wrapping past the end
    so tails of the last notes sound under the first bar."""
    left = np.cos((pan + 1) * np.pi / 4) * np.sqrt(2)
    right = np.sin((pan + 1) * np.pi / 4) * np.sqrt(2)
    start %= N
    pos = 0
    while pos < len(sig):
        at = (start + pos) % N
        take = min(len(sig) - pos, N - at)
        buf[0, at:at + take] += left * sig[pos:pos + take]
        buf[1, at:at + take] += right * sig[pos:pos + take]
        pos += take


def bell(freq, seconds, bright=1.0):
    """Soft FM bell: sine carrier with a decaying 2:1 modulator, plus a
    faint inharmonic partial that gives the glassy, wintry edge."""
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    index = bright * 1.6 * np.exp(-t / 0.25)
    body = np.sin(2 * np.pi * freq * t + index * np.sin(2 * np.pi * 2 * freq * t))
    shimmer = 0.12 * bright * np.sin(2 * np.pi * 2.76 * freq * t) * np.exp(-t / 0.35)
    env = np.exp(-t / 1.1) * (1 - np.exp(-t / 0.006))
    sig = (body + shimmer) * env
    fade = min(n, int(0.3 * RATE))
    sig[-fade:] *= np.linspace(1, 0, fade)
    return sig


def pluck(freq, seconds):
    """Muted harp-like pluck for the arpeggio: harmonics that die faster
    the higher they are."""
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    sig = np.zeros(n)
    for k in range(1, 7):
        sig += (0.6 ** (k - 1)) * np.sin(2 * np.pi * k * freq * t) * np.exp(-t * (1.6 + 2.2 * k))
    sig *= 1 - np.exp(-t / 0.005)
    fade = min(n, int(0.2 * RATE))
    sig[-fade:] *= np.linspace(1, 0, fade)
    return sig


def pad_voice(freq, samples, rng):
    """Warm pad tone: a soft, few-harmonic additive tone with a gentle
    random-phase start and slow amplitude drift, enveloped to swell in and
    out so neighbouring chords cross-fade."""
    t = np.arange(samples) / RATE
    sig = np.zeros(samples)
    for k in range(1, 7):
        if freq * k > 5000:
            break
        sig += (1.0 / k ** 1.8) * np.sin(2 * np.pi * k * freq * t + rng.uniform(0, 2 * np.pi))
    drift = 1 + 0.15 * np.sin(2 * np.pi * rng.uniform(0.15, 0.3) * t + rng.uniform(0, 2 * np.pi))
    attack = int(1.4 * RATE)
    release = int(2.0 * RATE)
    env = np.ones(samples)
    env[:attack] = np.sin(np.linspace(0, np.pi / 2, attack)) ** 2
    env[-release:] = np.cos(np.linspace(0, np.pi / 2, release)) ** 2
    return sig * drift * env


# Two bars per chord, eight-bar cycle played three times.
# (bass note, pad notes) in MIDI numbers.
CHORDS = [
    (38, [50, 57, 61, 64, 66]),  # Dmaj9
    (35, [47, 54, 57, 62, 64]),  # Bm11
    (31, [43, 50, 54, 57, 59]),  # Gmaj9 (6)
    (33, [45, 52, 57, 59, 64]),  # Asus2
]

# Melody: (beat, MIDI note, length in beats, velocity).  D major pentatonic
# only, so it sits over every chord.
D5, E5, FS5, A5, B5, D6, E6, A4, B4 = 74, 76, 78, 81, 83, 86, 88, 69, 71
MELODY = [
    # A: bars 1-8
    (0, FS5, 2, 0.9), (2, A5, 1, 0.7), (3, B5, 1, 0.75),
    (4, A5, 3, 0.85),
    (8, FS5, 1.5, 0.8), (9.5, E5, 0.5, 0.6), (10, D5, 2, 0.75),
    (12, B4, 2, 0.7), (14, D5, 2, 0.7),
    (16, E5, 2, 0.85), (18, FS5, 1, 0.7), (19, A5, 1, 0.75),
    (20, B5, 2, 0.85), (22, A5, 2, 0.7),
    (24, FS5, 2, 0.8), (26, E5, 1, 0.65), (27, D5, 1, 0.65),
    (28, E5, 4, 0.75),
    # B: bars 9-16, a little higher
    (32, A5, 1.5, 0.85), (33.5, B5, 0.5, 0.6), (34, D6, 2, 0.8),
    (36, B5, 1, 0.7), (37, A5, 1, 0.65), (38, FS5, 2, 0.75),
    (40, A5, 1, 0.75), (41, B5, 1, 0.7), (42, D6, 1, 0.75), (43, E6, 1, 0.7),
    (44, D6, 3, 0.85), (47, B5, 1, 0.6),
    (48, A5, 2, 0.8), (50, B5, 1, 0.65), (51, A5, 1, 0.6),
    (52, FS5, 2, 0.75), (54, E5, 2, 0.65),
    (56, D5, 1.5, 0.75), (57.5, E5, 0.5, 0.55), (58, FS5, 2, 0.7),
    (60, A5, 4, 0.75),
    # A': bars 17-24, settling back towards the top of the loop
    (64, FS5, 2, 0.85), (66, A5, 1, 0.7), (67, B5, 1, 0.7),
    (68, D6, 2, 0.8), (70, B5, 2, 0.7),
    (72, A5, 2, 0.75), (74, FS5, 2, 0.7),
    (76, E5, 2, 0.7), (78, D5, 2, 0.65),
    (80, B4, 1, 0.65), (81, D5, 1, 0.65), (82, E5, 2, 0.7),
    (84, FS5, 4, 0.75),
    (88, E5, 2, 0.65), (90, D5, 2, 0.6),
    (92, A4, 4, 0.55),
]

# Arpeggio patterns: indexes into the pad chord, one per quarter note.
ARP_PATTERNS = [
    [0, 2, 3, 4, 3, 2, 1, 2],
    [0, 1, 2, 4, 2, 3, 1, 2],
    [0, 2, 4, 3, 1, 2, 3, 2],
]


def make_music():
    rng = np.random.default_rng(2024)
    pads = np.zeros((2, N))
    bass = np.zeros((2, N))
    lead = np.zeros((2, N))
    arp = np.zeros((2, N))
    flakes = np.zeros((2, N))

    chord_len = 2 * 4 * BEAT
    for slot in range(BARS // 2):
        bass_note, notes = CHORDS[slot % len(CHORDS)]
        start = slot * chord_len - int(0.7 * RATE)  # swell in just before the bar
        length = chord_len + int(2.2 * RATE)
        for i, note in enumerate(notes):
            freq = midi_hz(note)
            for detune, pan in ((-0.0025, -0.6), (0.0025, 0.6)):
                voice = pad_voice(freq * (1 + detune), length, rng)
                add_wrapped(pads, start, voice * 0.026, pan * (0.4 + 0.15 * i))
        # Bass: pure low sine with a slow swell, felt more than heard.
        n = length
        t = np.arange(n) / RATE
        tone = np.sin(2 * np.pi * midi_hz(bass_note) * t) + 0.2 * np.sin(2 * np.pi * 2 * midi_hz(bass_note) * t)
        env = np.minimum(1, t / 1.0) * np.minimum(1, (n / RATE - t) / 2.0)
        add_wrapped(bass, start, tone * env * 0.08)

    for beat, note, beats, vel in MELODY:
        start = int(round(beat * BEAT))
        ring = max(2.5, beats * BEAT / RATE + 1.8)
        pan = 0.25 * np.sin(note * 1.7)
        add_wrapped(lead, start, bell(midi_hz(note), ring) * vel * 0.16, pan)

    # Quarter-note harp arpeggio on chord tones, an octave up from the pad.
    for bar in range(BARS):
        _, notes = CHORDS[(bar // 2) % len(CHORDS)]
        pattern = ARP_PATTERNS[(bar // 8) % len(ARP_PATTERNS)]
        for q in range(4):
            idx = pattern[(bar % 2) * 4 + q]
            start = (bar * 4 + q) * BEAT
            vel = (0.9 if q == 0 else 0.65) * rng.uniform(0.85, 1.0)
            add_wrapped(arp, start, pluck(midi_hz(notes[idx] + 12), 1.6) * vel * 0.10,
                        -0.5 + 0.33 * q)

    # Sparse high "snowflakes": quiet bell notes on off-beats, seeded.
    flake_notes = [86, 88, 90, 93, 95, 98]
    for eighth in range(BARS * 8):
        if eighth % 2 == 1 and rng.random() < 0.13:
            note = flake_notes[rng.integers(len(flake_notes))]
            add_wrapped(flakes, eighth * BEAT // 2,
                        bell(midi_hz(note), 2.0, bright=0.5) * rng.uniform(0.5, 1.0) * 0.045,
                        rng.uniform(-0.8, 0.8))

    # Dotted-eighth echo on the lead, done circularly so it wraps the seam.
    echo = np.zeros_like(lead)
    gain = 0.32
    for rep in range(1, 5):
        shift = rep * 3 * BEAT // 2
        src = np.roll(lead, shift, axis=1)
        # Ping-pong: alternate sides on each repeat.
        if rep % 2:
            src = src[::-1]
        echo += gain ** rep * src
    lead = lead + echo

    dry = pads + bass + lead + arp + flakes
    send = 0.55 * pads + 0.8 * lead + 0.6 * arp + 1.0 * flakes
    wet = circular_reverb(send, rng)
    mix = dry + 0.55 * wet

    mix -= mix.mean(axis=1, keepdims=True)
    peak_target = 10 ** (-6.5 / 20)  # leaves room for the codec's overshoot
    return mix * (peak_target / np.max(np.abs(mix)))


def circular_reverb(x, rng):
    """Hall-like reverb by convolving with a synthetic impulse response.
    Convolution is done in the frequency domain over the whole loop length,
    which makes it circular: tails from the last bar land in the first."""
    length = int(3.2 * RATE)
    t = np.arange(length) / RATE
    freqs = np.fft.rfftfreq(length, 1.0 / RATE)
    out = np.zeros((2, N))
    for ch in range(2):
        # Split white noise into bands that decay at different rates so the
        # tail darkens as it fades, like a real room.
        noise = np.fft.rfft(rng.standard_normal(length))
        ir = np.zeros(length)
        bands = [(0, 800, 2.6), (800, 3000, 1.9), (3000, 8000, 1.2), (8000, RATE, 0.5)]
        for lo, hi, rt60 in bands:
            mask = (freqs >= lo) & (freqs < hi)
            part = np.fft.irfft(noise * mask, length)
            ir += part * np.exp(-6.9 * t / rt60)
        predelay = int(0.025 * RATE)
        ir = np.concatenate([np.zeros(predelay), ir])[:length]
        ir[predelay:predelay + 200] *= np.linspace(0, 1, 200)
        ir /= np.sqrt(np.sum(ir ** 2))
        padded = np.zeros(N)
        padded[:length] = ir
        out[ch] = np.fft.irfft(np.fft.rfft(x[ch]) * np.fft.rfft(padded), N)
    return out


def encode_ogg(mix, path):
    if shutil.which("oggenc") is None:
        sys.exit("oggenc not found: install vorbis-tools")
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "music.wav")
        write_wav(wav, mix)
        # Fixed serial and quality keep the file reproducible; no comments,
        # no dates, and no fades are added by oggenc.
        subprocess.run(["oggenc", "-Q", "-q", "3", "-s", "1", "-o", path, wav], check=True)


def main():
    sounds = os.path.join(ROOT, "Sounds")
    music = os.path.join(ROOT, "music")
    os.makedirs(sounds, exist_ok=True)
    os.makedirs(music, exist_ok=True)
    write_wav(os.path.join(sounds, "Blip_Select1.wav"), make_seed_tock())
    encode_ogg(make_music(), os.path.join(music, "snowfall_final.ogg"))


if __name__ == "__main__":
    main()
