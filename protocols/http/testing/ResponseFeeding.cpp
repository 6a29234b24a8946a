// Test helper: feeding a response in pieces and recording the outcome.

#include "protocols/http/testing/ResponseFeeding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace n_ResponseFeeding {

std::vector<std::size_t> SplitSizes(std::size_t length, std::uint32_t split) {
    std::vector<std::size_t> sizes;
    std::mt19937 random(split);
    for (std::size_t at = 0; at < length;) {
        std::size_t size = length - at;
        if (split == SPLIT_BYTES) {
            size = 1;
        } else if (split != SPLIT_WHOLE) {
            // Mostly small pieces, now and then a large one, and empty feeds too.
            size = std::min<std::size_t>(size, random() % 4 == 0 ? random() % 70000 : random() % 12);
        }
        sizes.push_back(size);
        at += size;
    }
    return sizes;
}

s_Outcome FeedResponse(const std::string& input, std::uint32_t split, bool closeAtEnd, std::uint32_t maxBodySize) {
    c_HTTPResponse response(nullptr, 1);
    response.SetMaxBodySize(maxBodySize);
    c_ByteBuffer received;
    std::size_t at = 0;
    for (const std::size_t size : SplitSizes(input.size(), split)) {
        received.Append(input.data() + at, std::uint32_t(size));
        at += size;
        const std::int32_t before = response.GetParseState();
        response.ParseData(received);
        // The state only moves forward, except back to the status line after an interim response.
        if (response.GetParseState() < before && response.GetParseState() != c_HTTPResponse::PARSE_STATUS_LINE) {
            ADD_FAILURE() << "state went back from " << before;
        }
    }
    if (closeAtEnd) {
        response.ParseEndOfData();
    }
    s_Outcome outcome;
    static_cast<s_ResponseOutcome&>(outcome) = DescribeResponse(response);
    outcome.m_Left = received.GetSize();
    return outcome;
}

} // namespace n_ResponseFeeding
