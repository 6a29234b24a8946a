#pragma once
// Test helpers: data to compress (random, or mixed text that compresses like real bodies) and
// zlib's own deflate and inflate as the reference for the zlib wrappers.

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace n_CompressionTestData {

constexpr int ZLIB_WINDOW_BITS = 15;
constexpr int GZIP_WINDOW_BITS = 31;
constexpr int RAW_WINDOW_BITS = -15;

inline std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// Words, numbers and now and then a run of random bytes: compresses about three to one.
inline std::string MixedData(std::size_t size, std::uint32_t seed) {
    static const char* const WORDS[] = {"chart ", "price ",   "volume ",      "2024-01-05 ",  "open ",
                                        "close ", "<tr><td>", "</td></tr>\n", "DovrikChart ", "installer "};
    std::mt19937 random(seed);
    std::string data;
    data.reserve(size + 64);
    while (data.size() < size) {
        const std::uint32_t pick = random() % 16;
        if (pick < 10) {
            data += WORDS[pick];
        } else if (pick < 15) {
            data += std::to_string(random() % 100000);
            data += ' ';
        } else {
            for (int i = 0; i < 24; ++i) {
                data += static_cast<char>(random());
            }
        }
    }
    data.resize(size);
    return data;
}

// zlib's deflate of the bytes: a zlib, gzip or raw stream by the window bits.
inline std::string Deflated(const std::string& bytes, int windowBits, int level = Z_DEFAULT_COMPRESSION) {
    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    deflateInit2(&stream, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string output(deflateBound(&stream, bytes.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    deflate(&stream, Z_FINISH);
    output.resize(stream.total_out);
    deflateEnd(&stream);
    return output;
}

// zlib's inflate of a whole input in one go, as far as it gets: the output (at most limit bytes plus
// one), the input taken and the last result.
struct s_ReferenceInflate {
    std::string m_Output;
    std::size_t m_Consumed = 0;
    int m_Result = Z_OK;
    bool IsError() const { return m_Result != Z_OK && m_Result != Z_STREAM_END && m_Result != Z_BUF_ERROR; }
};

inline s_ReferenceInflate ReferenceInflate(const std::uint8_t* data, std::size_t size, int windowBits,
                                           std::size_t limit) {
    s_ReferenceInflate reference;
    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    inflateInit2(&stream, windowBits);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    char window[65536];
    do {
        stream.next_out = reinterpret_cast<Bytef*>(window);
        stream.avail_out = sizeof(window);
        reference.m_Result = inflate(&stream, Z_NO_FLUSH);
        reference.m_Output.append(window, sizeof(window) - stream.avail_out);
    } while (reference.m_Result == Z_OK && stream.avail_out == 0 && reference.m_Output.size() <= limit);
    reference.m_Consumed = size - stream.avail_in;
    inflateEnd(&stream);
    return reference;
}

} // namespace n_CompressionTestData
