// What the page says before the program runs (the credits box, open while the
// WebAssembly loads, the report's title, for failures the program cannot
// report, and the names of the board and its menu bar), printed at build time
// as one JSON object, so that the page's words are the program's.

#include "wording.h"

#include <cstdio>
#include <string>

namespace {

std::string json(const char* text) {
    std::string quoted = "\"";
    for (; *text != '\0'; ++text) {
        const auto c = static_cast<unsigned char>(*text);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += *text;
        } else if (c < 0x20) {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            quoted += escaped;
        } else {
            quoted += *text;
        }
    }
    return quoted + '"';
}

} // namespace

int main() {
    std::printf("{\"CREDITS_CAPTION\": %s, \"CREDITS_TEXT\": %s, \"REPORT_TITLE\": %s, "
                "\"BOARD_NAME\": %s, \"MENU_BAR_NAME\": %s}\n",
                json(Wording::CreditsCaption).c_str(), json(Wording::CreditsText).c_str(),
                json(Wording::ReportTitle).c_str(), json(Wording::BoardName).c_str(),
                json(Wording::MenuBarName).c_str());
}
