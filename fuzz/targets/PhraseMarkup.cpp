// The phrase markup renderer (Phrase_Render) on arbitrary text, into buffers of every size.
// Input: display buffer size (1 byte, 255 standing for the full size), speech buffer size (1 byte, the
// same), "point" or "decimal" (1 byte), then the text.
#include <cstring>
#include <memory>

#include "FuzzHost.h"
#include "comms/PhraseMarkup.h"
#include "ui/Settings.h"

namespace {

size_t SizeOf(uint8_t selector)
{
    return selector == 255 ? PHRASE_RENDER_SIZE : selector;
}

/// The rendered text ends inside its buffer and holds no markers.
void CheckRendered(const char *what, const char *text, size_t size, const char *forbidden)
{
    if (size == 0)
        return;
    size_t length = strnlen(text, size);
    FUZZ_CHECK(length < size, "the %s text has no end within its %zu bytes", what, size);
    FUZZ_CHECK(strpbrk(text, forbidden) == nullptr, "the %s text keeps a marker: %s", what, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input{data, size};
    size_t displaySize = SizeOf(input.Byte());
    size_t speechSize = SizeOf(input.Byte());
    pointInsteadDecimal = input.Byte() & 1;
    std::string text = input.Rest(); // ends at its first NUL, as a C string does
    // Buffers of exactly the given size, so that a byte written past them meets AddressSanitizer.
    std::unique_ptr<char[]> display(new char[displaySize > 0 ? displaySize : 1]);
    std::unique_ptr<char[]> speech(new char[speechSize > 0 ? speechSize : 1]);
    Phrase_Render(text.c_str(), displaySize > 0 ? display.get() : nullptr, displaySize,
                  speechSize > 0 ? speech.get() : nullptr, speechSize);
    CheckRendered("display", display.get(), displaySize, "#*@/_-");
    CheckRendered("speech", speech.get(), speechSize, "#*@/_-");
    return 0;
}
