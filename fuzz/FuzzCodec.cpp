// Decoding then encoding arbitrary channel records and settings blocks: the
// bits the rules do not own never change, and a settings OK is idempotent.
#include <cstdlib>
#include <cstring>

#include "image/ChannelCodec.h"
#include "settings/OptionsCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 16) return 0;
    ChannelRecord r;
    std::memcpy(r.data(), data, 16);
    ChannelRecord once = r;
    EncodeChannelRecord(DecodeChannelRecord(r), once);
    if ((once[13] & 0xC1) != (r[13] & 0xC1) || (once[14] & 0xFE) != (r[14] & 0xFE) || once[15] != r[15]) std::abort();

    RadioImage image;
    image.fill(0xFF);
    std::memcpy(image.data() + 0x800, data, std::min<std::size_t>(size, 64));
    const RadioImage before = image;
    const OptionsValues v = DecodeOptions(image);
    EncodeOptions(v, image);
    if ((image[0x812] & 0xA8) != (before[0x812] & 0xA8) || (image[0x810] & 0x0F) != (before[0x810] & 0x0F)) std::abort();
    for (std::size_t i = 0; i < 0x810; ++i)
        if (image[i] != before[i]) std::abort();
    for (std::size_t i = 0x819; i < 0x820; ++i)
        if (image[i] != before[i]) std::abort();
    RadioImage again = image;
    EncodeOptions(DecodeOptions(image), again);
    if (again != image) std::abort();
    return 0;
}
