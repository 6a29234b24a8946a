// Fuzz target: a gzip or deflate body in chunks of arbitrary sizes, fed in arbitrary slices; the
// compressed bytes may be cut or have one byte changed. An intact body comes back exactly and
// complete; a cut one is never reported complete.

#include "fuzz/FuzzInput.h"
#include "network/testing/CompressionTestData.h"
#include "protocols/http/c_HTTPResponse.h"

#include <algorithm>
#include <cstdio>
#include <string>

using namespace n_CompressionTestData;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c_FuzzInput input(data, size);
    const int form = int(input.TakeInt(0, 2));
    const bool cut = input.TakeBool();
    const std::uint32_t cutAt = input.TakeInt(0, UINT32_MAX);
    const bool change = input.TakeBool();
    const std::uint32_t changeAt = input.TakeInt(0, UINT32_MAX);
    c_SliceSizes chunkSizes(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 1024));
    c_SliceSizes slices(input.TakeInt(0, UINT32_MAX), input.TakeInt(1, 4096));
    const std::vector<std::uint8_t> bytes = input.TakeRest();
    const std::string plain(bytes.begin(), bytes.end());

    static const int WINDOW_BITS[] = {GZIP_WINDOW_BITS, ZLIB_WINDOW_BITS, RAW_WINDOW_BITS};
    std::string compressed = Deflated(plain, WINDOW_BITS[form]);
    const bool isCut = cut && !compressed.empty();
    if (isCut) {
        compressed.resize(cutAt % compressed.size());
    }
    if (change && !compressed.empty()) {
        compressed[changeAt % compressed.size()] ^= 0x5A;
    }

    std::string response = std::string("HTTP/1.1 200 OK\r\nContent-Encoding: ") + (form == 0 ? "gzip" : "deflate") +
                           "\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (std::size_t at = 0; at < compressed.size();) {
        const std::size_t n =
            std::min<std::size_t>(std::max<std::uint32_t>(chunkSizes.Next(), 1), compressed.size() - at);
        char line[32];
        std::snprintf(line, sizeof(line), "%zx\r\n", n);
        response += line + compressed.substr(at, n) + "\r\n";
        at += n;
    }
    response += "0\r\n\r\n";

    c_HTTPResponse parser(nullptr, 1);
    c_ByteBuffer received;
    for (std::size_t fed = 0; fed < response.size();) {
        const std::size_t n = std::min<std::size_t>(slices.Next(), response.size() - fed);
        received.Append(response.data() + fed, std::uint32_t(n));
        fed += n;
        parser.ParseData(received);
    }
    const c_ByteBuffer& body = parser.GetData().m_Body;
    const std::string decoded(reinterpret_cast<const char*>(body.GetData()), body.GetSize());
    if (!isCut && !change) {
        FUZZ_CHECK(parser.IsComplete());
        FUZZ_CHECK(decoded == plain);
        FUZZ_CHECK(received.IsEmpty());
    }
    // A stream cut short ends in an error, unless the cut left nothing at all to decode.
    if (isCut && !change && !compressed.empty()) {
        FUZZ_CHECK(!parser.IsComplete());
    }
    FUZZ_CHECK(plain.compare(0, std::min(decoded.size(), plain.size()), decoded) == 0 || change);
    return 0;
}
