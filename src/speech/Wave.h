// Wave files into OpenAL buffers, and the sources that play the cloud engine's utterances.
#pragma once

#include <AL/al.h>
#include <cstdint>
#include <string>

/// Number of buffer slots of one utterance.
enum { WAVE_BUFFER_SLOTS = 10 };

extern ALuint source;                     ///< source of the latest utterance (a new one each time)
extern ALuint buffers[WAVE_BUFFER_SLOTS]; ///< buffers loaded for the next play
extern uint16_t OpenAlBufferCounter;      ///< buffers loaded since the last play

/// The PCM samples of a wave image (pointing into the image).
struct WavePcm {
    uint16_t channels = 0;
    uint16_t bitsPerSample = 0;
    uint32_t sampleRate = 0;
    const unsigned char *data = nullptr;
    uint32_t dataLength = 0;
};
/// Checks a wave image as the loader does (PCM, mono or stereo, 8 or 16 bit) without logging; false when
/// the loader would refuse it.
bool Wave_ParsePcm(const std::string &image, WavePcm *pcm);

/// Loads a PCM wave (mono or stereo, 8 or 16 bit) into a new OpenAL buffer; 0 on any failure, with the
/// reason in the log.
ALuint Utils_load_wave(const char *path);
/// The same for a wave image in memory.
ALuint Wave_BufferFromMemory(const std::string &image);
/// Generates a new `source` and loads the wave at path into buffers[slot]; counts the buffer.
void Utils_WavAddToBufferQueue(const char *path, int slot);
/// The same for a wave image in memory.
void Wave_AddToBufferQueue(const std::string &image, int slot);
/// Queues the loaded buffers on `source` and plays them; the utterance is released once it has finished.
/// Returns false (and releases what was loaded) when nothing could be played.
bool Wave_PlayQueuedBuffers();

/// Deletes the source and buffer of every utterance that has finished playing. Run once per frame.
void Wave_ReleaseFinishedUtterances();
/// Stops and deletes every utterance (before the audio device closes).
void Wave_ReleaseAllUtterances();
/// Number of utterances whose source and buffer are still held.
int Wave_HeldUtterances();
