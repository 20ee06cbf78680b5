// SHA-256 (FIPS 180-4) of a byte stream, for checking a downloaded file against its published digest.
#pragma once

#include <cstddef>
#include <cstdint>

struct Sha256 {
    uint32_t state[8];
    uint64_t totalBytes;
    uint8_t block[64];
    size_t blockUsed;
};

enum { SHA256_DIGEST_BYTES = 32, SHA256_HEX_SIZE = 65 };

void Sha256_Init(Sha256 *context);
void Sha256_Update(Sha256 *context, const void *data, size_t size);
void Sha256_Final(Sha256 *context, uint8_t digest[SHA256_DIGEST_BYTES]);
/// Lower-case hexadecimal text of a digest, 64 characters and the terminator.
void Sha256_Hex(const uint8_t digest[SHA256_DIGEST_BYTES], char hex[SHA256_HEX_SIZE]);
