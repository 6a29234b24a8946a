#pragma once
// Test helper: feeds a response to c_HTTPResponse in pieces, as a connection's receive buffer would
// hold them, and records the outcome for comparison between ways of splitting.

#include "protocols/http/c_HTTPResponse.h"
#include "protocols/http/testing/ResponseOutcome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace n_ResponseFeeding {

struct s_Outcome : s_ResponseOutcome {
    // Bytes left in the receive buffer.
    std::size_t m_Left = 0;
};

// Piece sizes: 0 is the whole input at once, 1 one byte at a time, otherwise a seed for random sizes.
enum e_Split : std::uint32_t { SPLIT_WHOLE = 0, SPLIT_BYTES = 1 };

// Feeds the input, with the connection closing at the end when closeAtEnd is set.
s_Outcome FeedResponse(const std::string& input, std::uint32_t split, bool closeAtEnd, std::uint32_t maxBodySize);

// The piece sizes of a split over the given length.
std::vector<std::size_t> SplitSizes(std::size_t length, std::uint32_t split);

} // namespace n_ResponseFeeding
