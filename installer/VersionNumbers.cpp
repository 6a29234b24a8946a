// VersionNumbers: parse of the version answer and the mirror choice.

#include "installer/VersionNumbers.h"

#include "textutil/TextSplit.h"

bool ParseVersionNumbers(const c_StringView& body, std::vector<c_String>& fields) {
    fields.clear();
    const std::vector<c_StringView> pieces = Split(body.Trimmed(), c_StringView("||"));
    if (pieces.size() < VERSION_NUMBERS_MIN_FIELDS) {
        return false;
    }
    fields.assign(pieces.begin(), pieces.end());
    return true;
}

std::size_t ChooseVersionAnswer(const std::vector<std::int32_t>& ranksInArrivalOrder) {
    std::size_t chosen = 0;
    std::int32_t best = 0;
    for (std::size_t i = 0; i < ranksInArrivalOrder.size(); ++i) {
        if (ranksInArrivalOrder[i] > best) {
            best = ranksInArrivalOrder[i];
            chosen = i;
        }
    }
    return chosen;
}
