// The radio sound: what a synthesised voice goes through before it is played, so that it sounds as if it
// came over a VHF receiver (voice band only, compressed, a little hiss, the squelch closing at the end).
#pragma once

#include <string>
#include <vector>

/// Edges of the voice band, Hz.
const double kRadioLowCutHz = 250.0;
const double kRadioHighCutHz = 3500.0;
/// Length of the squelch tail added after the voice, seconds.
const double kRadioSquelchSeconds = 0.12;

/// Keeps the voice band of the samples (values in [-1, 1] at the given rate): two second-order high-pass
/// sections at kRadioLowCutHz and two second-order low-pass sections at kRadioHighCutHz (each edge falls
/// by 24 dB per octave outside the band). Above the Nyquist limit the low-pass sections are left out.
void RadioSound_BandPass(std::vector<float> &samples, double sampleRate);

/// Turns a wave image (PCM mono or stereo, 8 or 16 bit) into a mono 16-bit wave image of the same rate
/// with the radio sound: hiss, voice band, light compression and a squelch tail. The noise is drawn from
/// seed, so the same input gives the same output. False (image unchanged) when the image is not a wave
/// the loader plays.
bool RadioSound_Apply(std::string &image, unsigned seed);
