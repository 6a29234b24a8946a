// ZlibTexts: the texts of zlib results.

#include "network/internal/ZlibTexts.h"

namespace n_ZlibTexts {

const char* InflateInitText(int result) {
    switch (result) {
        case Z_VERSION_ERROR:
            return "zlib version incompatibility.";
        case Z_MEM_ERROR:
            return "Not enough memory for zlib/gzip inflate.";
        default:
            return "Unknown return value from zlib inflateInit2.";
    }
}

const char* DeflateInitText(int result) {
    switch (result) {
        case Z_VERSION_ERROR:
            return "zlib version incompatibility.";
        case Z_MEM_ERROR:
            return "Not enough memory for gzip deflate.";
        case Z_STREAM_ERROR:
            return "Internal error (invalid compression level).";
        default:
            return "Unknown return value from zlib deflateInit2.";
    }
}

const char* InflateErrorText(int result) {
    switch (result) {
        case Z_MEM_ERROR:
            return "Not enough memory.";
        case Z_DATA_ERROR:
            return "Zlib reports there is an error in the data.";
        case Z_STREAM_ERROR:
            return "Zlib reports the ZStream got corrupted.";
        case Z_NEED_DICT:
            return "Dictionary is needed.";
        case Z_BUF_ERROR:
            return "No progress is possible.";
        default:
            return nullptr;
    }
}

void SetText(c_String* error, const char* text) {
    if (error != nullptr) {
        *error = text;
    }
}

void AppendZlibMessage(c_String* error, const z_stream& stream) {
    if (error != nullptr && stream.msg != nullptr) {
        error->Append("  Zlib message: ").Append(stream.msg);
    }
}

} // namespace n_ZlibTexts
