// RIFF/WAVE reading into OpenAL buffers, and the bookkeeping that gives every finished utterance's source
// and buffer back: OpenAL implementations have a fixed number of sources, so a long flight would otherwise
// fall silent.
#include "speech/Wave.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/Audio.h"
#include "plugin/LibOpenAL.h"
#include "plugin/Log.h"

ALuint source = 0;
ALuint buffers[WAVE_BUFFER_SLOTS] = {0};
uint16_t OpenAlBufferCounter = 0;

namespace
{

/// Waves larger than this are refused (a sentence of synthesised speech is well under a megabyte).
const long kMaxWaveFileBytes = 64L * 1024 * 1024;

struct Utterance {
    ALuint source;
    ALuint buffers[WAVE_BUFFER_SLOTS];
    int bufferCount;
};
std::vector<Utterance> gUtterances;

void Wave_fail(const char *message)
{
    PrintInfo("Utils_load_wave", "%s", message);
}

uint32_t Wave_le32(const unsigned char *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

uint16_t Wave_le16(const unsigned char *p)
{
    return (uint16_t)(p[0] | (p[1] << 8));
}

/// Finds the chunk with the tag among the chunks in [begin, end). Every length is checked against end
/// before it is followed; a chunk that would run past end stops the search. On success body and length
/// give the chunk's contents, which lie inside [begin, end).
bool Wave_findChunk(const unsigned char *begin, const unsigned char *end, const char *tag, const unsigned char **body,
                    uint32_t *length)
{
    const unsigned char *p = begin;
    while (end - p >= 8) {
        uint32_t size = Wave_le32(p + 4);
        const unsigned char *contents = p + 8;
        if ((uint64_t)size > (uint64_t)(end - contents))
            return false;
        if (memcmp(p, tag, 4) == 0) {
            *body = contents;
            *length = size;
            return true;
        }
        uint64_t step = 8 + (uint64_t)size + (size & 1); // chunks are padded to even sizes
        if (step > (uint64_t)(end - p))
            return false;
        p += step;
    }
    return false;
}

/// Reads the whole file; null (and the reason in the log) on failure. The caller frees the image.
unsigned char *Wave_readFile(const char *path, long *size)
{
    FILE *file = fopen(path, "rb");
    if (file == nullptr) {
        PrintInfo("Utils_load_wave", "can't open file %s", path);
        return nullptr;
    }
    long length = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        length = ftell(file);
    rewind(file);
    unsigned char *image = nullptr;
    if (length >= 0 && length <= kMaxWaveFileBytes)
        image = (unsigned char *)malloc(length > 0 ? (size_t)length : 1);
    if (image == nullptr) {
        Wave_fail("WAVE file load failed - could not allocate memory.");
        fclose(file);
        return nullptr;
    }
    if (fread(image, 1, (size_t)length, file) != (size_t)length) {
        Wave_fail("WAVE file load failed - could not read file.");
        free(image);
        fclose(file);
        return nullptr;
    }
    fclose(file);
    *size = length;
    return image;
}

/// Checks a wave image and finds its PCM samples; the reason of a refusal goes to *failure.
bool Wave_parse(const unsigned char *image, long size, WavePcm *pcm, const char **failure)
{
    const unsigned char *riff = nullptr;
    uint32_t riffLength = 0;
    if (!Wave_findChunk(image, image + size, "RIFF", &riff, &riffLength)) {
        *failure = "Could not find RIFF chunk in wave file.";
        return false;
    }
    if (riffLength < 4 || memcmp(riff, "WAVE", 4) != 0) {
        *failure = "Could not find WAVE signature in wave file.";
        return false;
    }
    const unsigned char *riffEnd = riff + riffLength;
    const unsigned char *fmt = nullptr;
    uint32_t fmtLength = 0;
    if (!Wave_findChunk(riff + 4, riffEnd, "fmt ", &fmt, &fmtLength) || fmtLength < 16) {
        *failure = "Could not find FMT chunk in wave file.";
        return false;
    }
    uint16_t formatTag = Wave_le16(fmt);
    uint16_t channels = Wave_le16(fmt + 2);
    uint32_t sampleRate = Wave_le32(fmt + 4);
    uint16_t bitsPerSample = Wave_le16(fmt + 14);
    if (formatTag != 1) {
        *failure = "Wave file is not PCM format data.";
        return false;
    }
    if (channels != 1 && channels != 2) {
        *failure = "Must have mono or stereo sound.";
        return false;
    }
    if (bitsPerSample != 8 && bitsPerSample != 16) {
        *failure = "Must have 8 or 16 bit sounds.";
        return false;
    }
    const unsigned char *data = nullptr;
    uint32_t dataLength = 0;
    if (!Wave_findChunk(riff + 4, riffEnd, "data", &data, &dataLength)) {
        *failure = "I could not find the DATA chunk.";
        return false;
    }
    pcm->channels = channels;
    pcm->bitsPerSample = bitsPerSample;
    pcm->sampleRate = sampleRate;
    pcm->data = data;
    pcm->dataLength = dataLength;
    return true;
}

/// Checks the RIFF structure of the image and makes a buffer of its data chunk; 0 on failure.
ALuint Wave_bufferFromImage(const unsigned char *image, long size)
{
    WavePcm pcm;
    const char *failure = nullptr;
    if (!Wave_parse(image, size, &pcm, &failure)) {
        Wave_fail(failure);
        return 0;
    }
    uint16_t channels = pcm.channels, bitsPerSample = pcm.bitsPerSample;
    uint32_t sampleRate = pcm.sampleRate, dataLength = pcm.dataLength;
    const unsigned char *data = pcm.data;
    ALenum format;
    if (channels == 1)
        format = bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    else
        format = bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
    uint32_t frameBytes = channels * (bitsPerSample / 8);
    dataLength -= dataLength % frameBytes; // OpenAL refuses a partial sample frame

    gAL.alGetError();
    ALuint buffer = 0;
    gAL.alGenBuffers(1, &buffer);
    if (gAL.alGetError() != AL_NO_ERROR || buffer == 0) {
        Wave_fail("Could not generate buffer id.");
        return 0;
    }
    gAL.alBufferData(buffer, format, data, (ALsizei)dataLength, (ALsizei)sampleRate);
    if (gAL.alGetError() != AL_NO_ERROR) {
        PrintInfo("Utils_load_wave", "Could not fill the buffer (%u Hz, %u channels, %u bits, %u bytes).", sampleRate,
                  channels, bitsPerSample, dataLength);
        gAL.alDeleteBuffers(1, &buffer);
        return 0;
    }
    return buffer;
}

void Wave_deleteUtterance(Utterance &utterance)
{
    gAL.alSourceStop(utterance.source);
    gAL.alDeleteSources(1, &utterance.source);
    for (int i = 0; i < utterance.bufferCount; i++)
        if (utterance.buffers[i] != 0)
            gAL.alDeleteBuffers(1, &utterance.buffers[i]);
}

void Wave_forgetLoadedBuffers()
{
    for (int i = 0; i < OpenAlBufferCounter && i < WAVE_BUFFER_SLOTS; i++) {
        if (buffers[i] != 0)
            gAL.alDeleteBuffers(1, &buffers[i]);
        buffers[i] = 0;
    }
    OpenAlBufferCounter = 0;
}

/// Generates a new `source` and counts the slot's buffer; false (nothing counted) when the slot is out of
/// range or there is no context.
bool Wave_newSource(const char *tag, int slot)
{
    if (slot < 0 || slot >= WAVE_BUFFER_SLOTS) {
        PrintInfo(tag, "Buffer slot %i out of range", slot);
        return false;
    }
    AudioContextScope scope;
    if (!scope.active) {
        PrintInfo(tag, "No OpenAL context, the wave is not loaded");
        return false;
    }
    gAL.alGetError();
    source = 0;
    gAL.alGenSources(1, &source);
    if (gAL.alGetError() != AL_NO_ERROR)
        source = 0;
    if (source == 0)
        PrintInfo(tag, "Could not generate source id.");
    OpenAlBufferCounter++;
    return true;
}

} // namespace

bool Wave_ParsePcm(const std::string &image, WavePcm *pcm)
{
    const char *failure = nullptr;
    return Wave_parse(reinterpret_cast<const unsigned char *>(image.data()), (long)image.size(), pcm, &failure);
}

ALuint Wave_BufferFromMemory(const std::string &image)
{
    AudioContextScope scope;
    if (!scope.active) {
        Wave_fail("No OpenAL context, the wave is not loaded.");
        return 0;
    }
    return Wave_bufferFromImage(reinterpret_cast<const unsigned char *>(image.data()), (long)image.size());
}

ALuint Utils_load_wave(const char *path)
{
    AudioContextScope scope;
    if (!scope.active) {
        Wave_fail("No OpenAL context, the wave is not loaded.");
        return 0;
    }
    long size = 0;
    unsigned char *image = Wave_readFile(path, &size);
    if (image == nullptr)
        return 0;
    ALuint buffer = Wave_bufferFromImage(image, size);
    free(image);
    return buffer;
}

void Utils_WavAddToBufferQueue(const char *path, int slot)
{
    if (Wave_newSource("Utils_WavAddToBufferQueue", slot))
        buffers[slot] = Utils_load_wave(path);
}

void Wave_AddToBufferQueue(const std::string &image, int slot)
{
    if (Wave_newSource("Wave_AddToBufferQueue", slot))
        buffers[slot] = Wave_BufferFromMemory(image);
}

bool Wave_PlayQueuedBuffers()
{
    AudioContextScope scope;
    int count = OpenAlBufferCounter < WAVE_BUFFER_SLOTS ? (int)OpenAlBufferCounter : (int)WAVE_BUFFER_SLOTS;
    bool loaded = count > 0;
    for (int i = 0; i < count; i++)
        loaded = loaded && buffers[i] != 0;
    if (!scope.active) {
        PrintInfo("Wave_PlayQueuedBuffers", "No OpenAL context, nothing is played");
        source = 0;
        OpenAlBufferCounter = 0;
        return false;
    }
    if (source == 0 || !loaded) {
        PrintInfo("Wave_PlayQueuedBuffers", "Nothing to play");
        if (source != 0)
            gAL.alDeleteSources(1, &source);
        source = 0;
        Wave_forgetLoadedBuffers();
        return false;
    }
    gAL.alGetError();
    gAL.alSourceQueueBuffers(source, count, buffers);
    gAL.alSourcePlay(source);
    Utterance utterance = {source, {0}, count};
    for (int i = 0; i < count; i++) {
        utterance.buffers[i] = buffers[i];
        buffers[i] = 0;
    }
    gUtterances.push_back(utterance);
    OpenAlBufferCounter = 0;
    if (gAL.alGetError() != AL_NO_ERROR) {
        PrintInfo("Wave_PlayQueuedBuffers", "OpenAL could not play the wave");
        return false;
    }
    return true;
}

void Wave_ReleaseFinishedUtterances()
{
    if (gUtterances.empty())
        return;
    AudioContextScope scope;
    if (!scope.active)
        return;
    size_t kept = 0;
    for (size_t i = 0; i < gUtterances.size(); i++) {
        ALint state = AL_STOPPED;
        gAL.alGetSourcei(gUtterances[i].source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING || state == AL_PAUSED)
            gUtterances[kept++] = gUtterances[i];
        else
            Wave_deleteUtterance(gUtterances[i]);
    }
    gUtterances.resize(kept);
}

void Wave_ReleaseAllUtterances()
{
    AudioContextScope scope;
    if (scope.active) {
        for (Utterance &utterance : gUtterances)
            Wave_deleteUtterance(utterance);
        Wave_forgetLoadedBuffers();
    }
    gUtterances.clear();
    source = 0;
}

int Wave_HeldUtterances()
{
    return (int)gUtterances.size();
}
