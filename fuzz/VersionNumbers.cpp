// Fuzz target: the "VersionNumbers.txt" answer and the mirror choice. A usable answer has at least
// five fields that join back to the trimmed body; the chosen answer's rank is the largest and no
// earlier answer has it.

#include "installer/VersionNumbers.h"
#include "fuzz/FuzzInput.h"
#include "textutil/NumberParsing.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    const c_String body(reinterpret_cast<const char*>(data), static_cast<int>(size));
    std::vector<std::int32_t> ranks;
    std::vector<c_String> fields;
    // Each line is one mirror's answer.
    for (int start = 0; start <= body.GetLength();) {
        int end = body.Find("\n", start);
        end = end < 0 ? body.GetLength() : end;
        const c_StringView answer = body.GetView().Mid(start, end - start);
        start = end + 1;
        if (!ParseVersionNumbers(answer, fields)) {
            FUZZ_CHECK(fields.empty());
            continue;
        }
        FUZZ_CHECK(fields.size() >= VERSION_NUMBERS_MIN_FIELDS);
        c_String joined = fields[0];
        for (std::size_t i = 1; i < fields.size(); ++i) {
            joined += "||" + fields[i];
        }
        FUZZ_CHECK(joined.GetView() == answer.Trimmed());
        ranks.push_back(ParseInt32(fields[VERSION_FIELD_RANK]));
    }
    const std::size_t chosen = ChooseVersionAnswer(ranks);
    if (ranks.empty()) {
        FUZZ_CHECK(chosen == 0);
        return 0;
    }
    FUZZ_CHECK(chosen < ranks.size());
    const std::int32_t best = *std::max_element(ranks.begin(), ranks.end());
    if (best > 0) {
        FUZZ_CHECK(ranks[chosen] == best &&
                   std::find(ranks.begin(), ranks.begin() + static_cast<std::ptrdiff_t>(chosen), best) ==
                       ranks.begin() + static_cast<std::ptrdiff_t>(chosen));
    } else {
        FUZZ_CHECK(chosen == 0);
    }
    return 0;
}
