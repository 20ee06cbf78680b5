// The plug-in's SHA-256 against OpenSSL on many lengths and splits.
#include <gtest/gtest.h>
#include <openssl/sha.h>
#include <random>
#include <string>

#include "update/Sha256.h"

namespace {

std::string Hex(const std::string &data, size_t split = 0)
{
    Sha256 context;
    Sha256_Init(&context);
    Sha256_Update(&context, data.data(), split);
    Sha256_Update(&context, data.data() + split, data.size() - split);
    uint8_t digest[SHA256_DIGEST_BYTES];
    char hex[SHA256_HEX_SIZE];
    Sha256_Final(&context, digest);
    Sha256_Hex(digest, hex);
    return hex;
}

std::string OpenSslHex(const std::string &data)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256((const unsigned char *)data.data(), data.size(), digest);
    char hex[SHA256_HEX_SIZE];
    Sha256_Hex(digest, hex);
    return hex;
}

TEST(Sha256, AgreesWithOpenSslOnEveryPaddingCase)
{
    // Lengths around the block (64) and padding (56) edges, split anywhere.
    std::mt19937 random(27);
    for (size_t length = 0; length < 300; length++) {
        std::string data(length, '\0');
        for (char &c : data)
            c = (char)(random() & 0xff);
        size_t split = length == 0 ? 0 : random() % (length + 1);
        ASSERT_EQ(Hex(data, split), OpenSslHex(data)) << length << " bytes split at " << split;
    }
}

} // namespace
