// ICAOCodes.dat as anybody may leave it, and a code looked up in it (Utils_nomeLinea).
// Input: the code's length (1), the code, then the file.
#include <cstring>
#include <string>

#include "FuzzHost.h"
#include "navdata/Callsigns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::StartHost();
    fuzz::Input input{data, size};
    size_t length = input.Byte() % 80;
    if (length > input.size)
        length = input.size;
    std::string code((const char *)input.data, length);
    code = code.substr(0, code.find('\0'));
    input.data += length;
    input.size -= length;
    fuzz::LayFile("Resources/plugins/Vellomir64/ICAOCodes.dat", input.data, input.size);

    const char *name = Utils_nomeLinea(code.c_str());
    FUZZ_CHECK(name != nullptr && strlen(name) < 128, "a name without its end");
    bool asPassed = code.compare(0, 64, name) == 0 && strlen(name) == std::min<size_t>(code.size(), 64);
    if (!asPassed)
        for (const char *c = name; *c != 0; c++)
            FUZZ_CHECK((unsigned char)*c >= 0x20 && *c != '@' && *c != '#' && *c != '*' && *c != 0x7f,
                       "the name '%s' carries a control character or phrase markup", name);
    return 0;
}
