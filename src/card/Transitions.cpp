#include "Transitions.h"

#include <algorithm>
#include <cctype>

namespace transitions {

int Position(std::span<const std::string_view> list, std::string_view text) {
    const auto sameIgnoringCase = [&](std::string_view entry) {
        return std::equal(entry.begin(), entry.end(), text.begin(), text.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    const auto found = std::find_if(list.begin(), list.end(), sameIgnoringCase);
    return found == list.end() ? -1 : int(found - list.begin());
}

} // namespace transitions
