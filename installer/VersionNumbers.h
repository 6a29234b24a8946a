#pragma once
// VersionNumbers: the answer of a mirror's "VersionNumbers.txt", and the choice between the mirrors.
//
//   answer = field *( "||" field )     ; blanks at both ends of the whole body are trimmed first
//
// Usable with at least 5 fields: 0 the current version, 1 the prerelease version, 4 the number that
// ranks the mirrors (each read as a 32-bit integer). Fields 2 and 3 are not read.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t VERSION_NUMBERS_MIN_FIELDS = 5;
constexpr std::size_t VERSION_FIELD_CURRENT = 0;
constexpr std::size_t VERSION_FIELD_PRERELEASE = 1;
constexpr std::size_t VERSION_FIELD_RANK = 4;

// The fields of a usable answer; false (fields empty) for fewer than 5.
bool ParseVersionNumbers(const c_StringView& body, std::vector<c_String>& fields);

// The index of the chosen answer, given the rank fields in order of arrival: the first answer,
// replaced only by one whose rank is strictly above the best so far (starting from 0). Ties and
// ranks of 0 or less therefore go to the earliest answer. 0 for no answer.
std::size_t ChooseVersionAnswer(const std::vector<std::int32_t>& ranksInArrivalOrder);
