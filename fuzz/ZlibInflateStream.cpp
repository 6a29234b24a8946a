// Fuzz target: c_ZlibInflateStream fed arbitrary bytes in arbitrary slices, through each of its forms,
// with window bits 47 or raw deflate and an arbitrary output limit, checked against zlib's inflate of
// the whole input in one go.

#include "fuzz/FuzzInput.h"
#include "network/c_ZlibInflateStream.h"
#include "network/testing/CompressionTestData.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using namespace n_CompressionTestData;

constexpr const char* LIMIT_TEXT = "The inflated data is larger than the output limit.";

std::string Text(const c_ByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const bool raw = input.TakeBool();
    const int form = int(input.TakeInt(0, 3));
    const std::uint32_t limit = input.TakeBool() ? input.TakeInt(0, 1u << 20) : 16u << 20;
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 4096));
    const std::vector<std::uint8_t> stream = input.TakeRest();

    const s_ReferenceInflate reference = ReferenceInflate(
        stream.data(), stream.size(), raw ? RAW_WINDOW_BITS : c_ZlibInflateStream::WINDOW_BITS_AUTO, limit);

    c_ZlibInflateStream inflater;
    inflater.SetMaxOutputSize(limit);
    c_String error;
    if (raw) {
        FUZZ_CHECK(inflater.Init(nullptr, 0, true, &error));
    }
    // Kept from run to run: a fresh 256 KiB block each run would cost more than the inflating.
    static c_ByteBuffer output;
    output.Clear(false);
    c_ByteBuffer pending;
    std::size_t fed = 0;
    std::size_t consumed = 0;
    bool inflated = true;
    while (inflated && (fed < stream.size() || !pending.IsEmpty())) {
        const std::size_t n = std::min<std::size_t>(slices.Next(), stream.size() - fed);
        const std::uint8_t* slice = stream.data() + fed;
        fed += n;
        int taken = -1;
        switch (form) {
            case 0: {
                // As the HTTP client does: what zlib did not take waits in the input for more.
                pending.Append(slice, std::uint32_t(n));
                const std::uint32_t before = pending.GetSize();
                inflated = inflater.Inflate(pending, output, &error);
                taken = int(before - pending.GetSize());
                if (fed == stream.size() && taken == 0) {
                    pending.Clear(false);
                }
                break;
            }
            case 1: {
                c_ByteBuffer piece;
                piece.Append(slice, std::uint32_t(n));
                inflated = inflater.Inflate(piece, &taken, output, &error);
                break;
            }
            case 2:
                inflated = inflater.Inflate(slice, int(n), &taken, output, &error, raw);
                break;
            default:
                inflated = inflater.Inflate(slice, int(n), output, &error);
                taken = inflated ? -1 : 0;
                break;
        }
        if (taken >= 0) {
            FUZZ_CHECK(std::size_t(taken) <= n + (form == 0 ? stream.size() : 0));
            consumed += std::size_t(taken);
        }
        FUZZ_CHECK(output.GetSize() <= limit);
    }

    if (reference.m_Output.size() > limit) {
        FUZZ_CHECK(!inflated);
        FUZZ_CHECK(std::strcmp(error.GetChars(), LIMIT_TEXT) == 0);
        FUZZ_CHECK(Text(output) == reference.m_Output.substr(0, limit));
    } else if (reference.IsError()) {
        FUZZ_CHECK(!inflated);
        FUZZ_CHECK(IsOnePrefixOfTheOther(Text(output), reference.m_Output));
    } else {
        FUZZ_CHECK(inflated);
        FUZZ_CHECK(Text(output) == reference.m_Output);
        if (form != 3) {
            FUZZ_CHECK(consumed == reference.m_Consumed);
        }
    }
    if (!inflated) {
        FUZZ_CHECK(inflater.HasError());
        FUZZ_CHECK(!inflater.Inflate(stream.data(), int(stream.size()), output, &error));
        FUZZ_CHECK(std::strcmp(error.GetChars(), "Encountered a previous error.") == 0);
    }
    return 0;
}
