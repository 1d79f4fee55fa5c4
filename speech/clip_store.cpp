// SPDX-License-Identifier: MIT
#include "speech/clip_store.h"

#include <algorithm>
#include <compare>

namespace talmo {
namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::strong_ordering CompareIgnoringCase(std::string_view a, std::string_view b) {
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb) {
            return ca <=> cb;
        }
    }
    return a.size() <=> b.size();
}

std::strong_ordering CompareKeys(std::string_view category_a, std::string_view index_a,
                                 std::string_view category_b, std::string_view index_b) {
    if (auto c = CompareIgnoringCase(category_a, category_b); c != 0) {
        return c;
    }
    return CompareIgnoringCase(index_a, index_b);
}

}  // namespace

ClipStore::ClipStore(std::vector<ClipEntry> entries, std::vector<ClipEntry> inner,
                     std::vector<ClipEntry> last, std::vector<ClipEntry> phrase_end,
                     std::vector<ClipEntry> closed)
    : entries_{std::move(entries), std::move(inner), std::move(last), std::move(phrase_end),
               std::move(closed)} {
    for (auto& form : entries_) {
        std::stable_sort(form.begin(), form.end(), [](const ClipEntry& a, const ClipEntry& b) {
            return CompareKeys(a.Category, a.Index, b.Category, b.Index) < 0;
        });
    }
}

ClipBytes ClipStore::LoadClip(const ClipRef& ref, ClipForm form) const {
    const auto& entries = entries_[static_cast<int>(form)];
    const auto it = std::lower_bound(
        entries.begin(), entries.end(), ref, [](const ClipEntry& e, const ClipRef& r) {
            return CompareKeys(e.Category, e.Index, r.Category, r.Index) < 0;
        });
    if (it == entries.end() || CompareKeys(it->Category, it->Index, ref.Category, ref.Index) != 0) {
        return {};
    }
    return it->bytes;
}

}  // namespace talmo
