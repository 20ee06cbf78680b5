// The radio sound's signal chain: every step works on floating-point samples in [-1, 1].
#include "speech/RadioSound.h"

#include <cmath>
#include <cstdint>

#include "speech/Wave.h"

namespace {

/// Level of the hiss under the voice and of the squelch burst, full scale = 1.
const float kHissLevel = 0.006f;
const float kSquelchLevel = 0.12f;
/// Compressor: level above which the gain is reduced, ratio, time constants (seconds), make-up gain.
const float kCompressThreshold = 0.18f;
const float kCompressRatio = 3.0f;
const float kCompressAttack = 0.005f;
const float kCompressRelease = 0.120f;
const float kMakeUpGain = 1.6f;
/// Largest output level; the voice never clips.
const float kCeiling = 0.89f;

/// One second-order section (a biquad of the audio-EQ cookbook), direct form I.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    float Run(float in)
    {
        double out = b0 * in + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = in;
        y2 = y1;
        y1 = out;
        return (float)out;
    }
};

/// A Butterworth section (Q = 1/sqrt 2), high-pass or low-pass at cutoff.
Biquad RadioSound_section(double cutoff, double rate, bool highPass)
{
    const double w0 = 2.0 * M_PI * cutoff / rate;
    const double alpha = sin(w0) / (2.0 * M_SQRT1_2);
    const double cosw = cos(w0);
    const double a0 = 1.0 + alpha;
    Biquad q;
    if (highPass) {
        q.b0 = (1.0 + cosw) / 2.0 / a0;
        q.b1 = -(1.0 + cosw) / a0;
    } else {
        q.b0 = (1.0 - cosw) / 2.0 / a0;
        q.b1 = (1.0 - cosw) / a0;
    }
    q.b2 = q.b0;
    q.a1 = -2.0 * cosw / a0;
    q.a2 = (1.0 - alpha) / a0;
    return q;
}

/// A small linear congruential generator: uniform noise in [-1, 1].
struct Noise {
    uint32_t state;
    float Next()
    {
        state = state * 1664525u + 1013904223u;
        return (float)((state >> 8) & 0xffff) / 32767.5f - 1.0f;
    }
};

/// Lowers the level of loud passages (soft knee free, peak envelope), then raises the whole.
void RadioSound_compress(std::vector<float> &samples, double rate)
{
    const float attack = (float)exp(-1.0 / (kCompressAttack * rate));
    const float release = (float)exp(-1.0 / (kCompressRelease * rate));
    float envelope = 0;
    for (float &s : samples) {
        float level = fabsf(s);
        float k = level > envelope ? attack : release;
        envelope = k * envelope + (1 - k) * level;
        float gain = 1.0f;
        if (envelope > kCompressThreshold)
            gain = powf(envelope / kCompressThreshold, 1.0f / kCompressRatio - 1.0f);
        s *= gain * kMakeUpGain;
    }
}

/// The samples of a parsed wave, mixed down to mono.
std::vector<float> RadioSound_decode(const WavePcm &pcm)
{
    const uint32_t width = pcm.bitsPerSample / 8;
    const uint32_t frames = pcm.dataLength / (width * pcm.channels);
    std::vector<float> samples(frames);
    for (uint32_t f = 0; f < frames; f++) {
        float sum = 0;
        for (uint32_t c = 0; c < pcm.channels; c++) {
            const unsigned char *p = pcm.data + (f * pcm.channels + c) * width;
            if (width == 1)
                sum += ((float)p[0] - 128.0f) / 128.0f;
            else
                sum += (float)(int16_t)(p[0] | (p[1] << 8)) / 32768.0f;
        }
        samples[f] = sum / (float)pcm.channels;
    }
    return samples;
}

void RadioSound_put(std::string &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        out += (char)((value >> (8 * i)) & 0xff);
}

/// A mono 16-bit wave image of the samples.
std::string RadioSound_encode(const std::vector<float> &samples, uint32_t rate)
{
    const uint32_t dataBytes = (uint32_t)samples.size() * 2;
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    RadioSound_put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    RadioSound_put(out, 16, 4);
    RadioSound_put(out, 1, 2); // PCM
    RadioSound_put(out, 1, 2); // mono
    RadioSound_put(out, rate, 4);
    RadioSound_put(out, rate * 2, 4);
    RadioSound_put(out, 2, 2);
    RadioSound_put(out, 16, 2);
    out += "data";
    RadioSound_put(out, dataBytes, 4);
    for (float s : samples) {
        float clamped = s > kCeiling ? kCeiling : (s < -kCeiling ? -kCeiling : s);
        RadioSound_put(out, (uint32_t)(uint16_t)(int16_t)lrintf(clamped * 32767.0f), 2);
    }
    return out;
}

} // namespace

void RadioSound_BandPass(std::vector<float> &samples, double sampleRate)
{
    if (sampleRate <= 0)
        return;
    Biquad sections[4];
    int count = 0;
    sections[count++] = RadioSound_section(kRadioLowCutHz, sampleRate, true);
    sections[count++] = RadioSound_section(kRadioLowCutHz, sampleRate, true);
    if (kRadioHighCutHz < 0.45 * sampleRate) {
        sections[count++] = RadioSound_section(kRadioHighCutHz, sampleRate, false);
        sections[count++] = RadioSound_section(kRadioHighCutHz, sampleRate, false);
    }
    for (float &s : samples)
        for (int i = 0; i < count; i++)
            s = sections[i].Run(s);
}

bool RadioSound_Apply(std::string &image, unsigned seed)
{
    WavePcm pcm;
    if (!Wave_ParsePcm(image, &pcm) || pcm.sampleRate < 8000 || pcm.sampleRate > 192000)
        return false;
    std::vector<float> samples = RadioSound_decode(pcm);
    const double rate = pcm.sampleRate;
    const size_t voice = samples.size();
    const size_t tail = (size_t)(kRadioSquelchSeconds * rate);
    samples.resize(voice + tail, 0.0f);

    Noise noise{seed * 2654435761u + 1u};
    for (size_t i = 0; i < voice; i++)
        samples[i] += kHissLevel * noise.Next();
    // The squelch closing: a burst of noise that dies away quickly.
    for (size_t i = 0; i < tail; i++) {
        float fade = 1.0f - (float)i / (float)tail;
        samples[voice + i] = kSquelchLevel * fade * fade * noise.Next();
    }
    RadioSound_BandPass(samples, rate);
    RadioSound_compress(samples, rate);
    image = RadioSound_encode(samples, pcm.sampleRate);
    return true;
}
