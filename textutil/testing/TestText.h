#pragma once
// Test helper: texts as std::string, so that GoogleTest prints them when an expectation fails.

#include "strings/c_StringView.h"

#include <string>
#include <vector>

inline std::string ToStd(const c_StringView& text) {
    return std::string(text.begin(), text.end());
}

using t_Texts = std::vector<std::string>;

// Pieces of any string or view type, as std::string.
template <typename Piece> t_Texts Texts(const std::vector<Piece>& pieces) {
    t_Texts texts;
    for (const Piece& piece : pieces) {
        texts.push_back(ToStd(c_StringView(piece)));
    }
    return texts;
}
