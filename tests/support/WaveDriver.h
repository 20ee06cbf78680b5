// What OpenAL Soft's "wave" driver wrote: its samples, and where the loud part begins and ends.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

/// Samples of the driver's output file (mono 16-bit); empty when it holds no data chunk.
std::vector<int16_t> WaveDriver_Samples(const std::string &path);

struct LoudSpan {
    long first = -1, last = -1; ///< first loud sample and one past the last; -1 when all is quiet
    long loud = 0;              ///< loud samples in all
};
LoudSpan WaveDriver_LoudSpan(const std::vector<int16_t> &samples, int threshold);
