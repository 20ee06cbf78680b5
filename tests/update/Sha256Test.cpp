// The plug-in's SHA-256 against the FIPS 180 examples and against OpenSSL on many lengths and splits.
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

TEST(Sha256, MatchesTheFipsExamples)
{
    struct Case {
        std::string message;
        const char *digest;
    } cases[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrst"
         "nopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Hex(c.message, c.message.size() / 3), c.digest) << c.message.size() << " bytes";
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
