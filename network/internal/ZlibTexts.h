#pragma once
// ZlibTexts: the fixed failure texts of the zlib wrappers, shared by the inflate stream and the
// stream compressor and decompressor.
//
// A zlib failure text is the fixed text of the failing result followed, when zlib gave a message, by
// "  Zlib message: " and that message. The helpers only fill texts; the wrappers decide when.

#include "strings/c_String.h"

#include <zlib.h>

namespace n_ZlibTexts {

// The text of an inflateInit2 result that is not Z_OK.
const char* InflateInitText(int result);
// The text of a deflateInit result that is not Z_OK.
const char* DeflateInitText(int result);
// The text of an inflate result that is an error (Z_MEM_ERROR, Z_DATA_ERROR, Z_STREAM_ERROR,
// Z_NEED_DICT, Z_BUF_ERROR); null for the results that are no error.
const char* InflateErrorText(int result);

// Assigns text to *error when error is not null.
void SetText(c_String* error, const char* text);
// Appends "  Zlib message: " and the stream's message when zlib gave one and error is not null.
void AppendZlibMessage(c_String* error, const z_stream& stream);

} // namespace n_ZlibTexts
