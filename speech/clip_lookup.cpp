// SPDX-License-Identifier: MIT
#include "speech/clip_lookup.h"

#include <array>

namespace talmo {
namespace {

struct Row {
    double number;
    const char* Category;
    const char* Index;
};

// 0 to 12 come from the clock-time words; the row 0 is written "Time",
// which the store's case-insensitive match resolves.
constexpr std::array<Row, 30> kSmallNumbers{{
    {0, "Time", "0NOLL"},   {1, "TIME", "1ETT"},    {2, "TIME", "2TVA"},    {3, "TIME", "3TRE"},
    {4, "TIME", "4FYRA"},   {5, "TIME", "5FEM"},    {6, "TIME", "6SEX"},    {7, "TIME", "7SJU"},
    {8, "TIME", "8ATTA"},   {9, "TIME", "9NIO"},    {10, "TIME", "10TIO"},  {11, "TIME", "11ELVA"},
    {12, "TIME", "12TOLV"}, {13, "NUMBERS", "N13"}, {14, "NUMBERS", "N14"}, {15, "NUMBERS", "N15"},
    {16, "NUMBERS", "N16"}, {17, "NUMBERS", "N17"}, {18, "NUMBERS", "N18"}, {19, "NUMBERS", "N19"},
    {20, "NUMBERS", "N20"}, {21, "NUMBERS", "N21"}, {22, "NUMBERS", "N22"}, {23, "NUMBERS", "N23"},
    {24, "NUMBERS", "N24"}, {25, "NUMBERS", "N25"}, {26, "NUMBERS", "N26"}, {27, "NUMBERS", "N27"},
    {28, "NUMBERS", "N28"}, {29, "NUMBERS", "N29"},
}};

constexpr std::array<Row, 8> kTens{{
    {20, "NUMBERS", "N20"},
    {30, "NUMBERS", "N30"},
    {40, "NUMBERS", "N40"},
    {50, "NUMBERS", "N50"},
    {60, "NUMBERS", "N60"},
    {70, "NUMBERS", "N70"},
    {80, "NUMBERS", "N80"},
    {90, "NUMBERS", "N90"},
}};

template <std::size_t N>
std::optional<ClipRef> Find(const std::array<Row, N>& rows, double number) {
    for (const Row& row : rows) {
        if (row.number == number) {
            return ClipRef{row.Category, row.Index};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ClipRef> SmallNumberClip(double number) {
    return Find(kSmallNumbers, number);
}

std::optional<ClipRef> TensClip(double number) {
    return Find(kTens, number);
}

}  // namespace talmo
