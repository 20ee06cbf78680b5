// The wave loader (Utils_load_wave): the speech service's answer, or any file at its path, into an
// OpenAL buffer. OpenAL Soft's null driver stands in for a sound card.
// Input: the file.
#include <AL/al.h>
#include <AL/alc.h>
#include <cstdlib>

#include "FuzzHost.h"
#include "plugin/Audio.h"
#include "speech/Wave.h"

namespace {

void OpenAudio()
{
    static bool opened = false;
    if (opened)
        return;
    opened = true;
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("ALSOFT_CONF", "/dev/null", 1);
    System_InitAudio(12000);
    if (my_context == nullptr)
        fuzz::Fail("OpenAL Soft could not open its null driver");
    alcMakeContextCurrent(my_context); // the checks read the buffers through it
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    OpenAudio();
    std::string path = fuzz::LayFile("Resources/plugins/Vellomir64/Vellomir_temp.wav", data, size);
    ALuint buffer = Utils_load_wave(path.c_str());
    if (buffer != 0) {
        ALint bytes = 0, bits = 0, channels = 0;
        alGetBufferi(buffer, AL_SIZE, &bytes);
        alGetBufferi(buffer, AL_BITS, &bits);
        alGetBufferi(buffer, AL_CHANNELS, &channels);
        FUZZ_CHECK(bytes >= 0 && (size_t)bytes + 44 <= size, "a buffer of %d bytes from a file of %zu", bytes, size);
        FUZZ_CHECK((bits == 8 || bits == 16) && (channels == 1 || channels == 2), "%d bits, %d channels", bits,
                   channels);
        alDeleteBuffers(1, &buffer);
    }
    FUZZ_CHECK(alGetError() == AL_NO_ERROR, "an OpenAL error left behind");
    return 0;
}
