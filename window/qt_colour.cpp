#include "qt_colour.h"

#include <array>
#include <utility>

namespace {

// The Windows system colour indexes that have a palette role of their own.
constexpr std::array SystemColourRoles{
    std::pair{4, QPalette::Window},
    std::pair{5, QPalette::Base},
    std::pair{6, QPalette::WindowText},
    std::pair{8, QPalette::WindowText},
    std::pair{13, QPalette::Highlight},
    std::pair{SystemColourHighlightText, QPalette::HighlightedText},
    std::pair{15, QPalette::Button},
    std::pair{18, QPalette::ButtonText},
};

} // namespace

QColor toQColor(ColourValue value, const QPalette& palette) {
    if (!isSystemColour(value)) {
        return QColor(redOf(value), greenOf(value), blueOf(value));
    }
    for (const auto& [index, role] : SystemColourRoles) {
        if (index == systemColourIndex(value)) {
            return palette.color(role);
        }
    }
    return palette.color(QPalette::Window);
}
