// What the page says before the program runs (the credits box, open while the
// WebAssembly loads, and the report's title, for failures the program cannot
// report), printed at build time as CMake settings of HTML text, so that the
// page's words are the program's.

#include "wording.h"

#include <cstdio>
#include <string>

namespace {

std::string html(const char* text) {
    std::string escaped;
    for (; *text != '\0'; ++text) {
        switch (*text) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\n':
            escaped += "&#10;";
            break;
        case '\r':
            escaped += "&#13;";
            break; // a raw one would become a line feed
        case '\\':
            escaped += "\\\\";
            break;
        case '$':
            escaped += "\\$";
            break;
        default:
            escaped += *text;
        }
    }
    return escaped;
}

void print(const char* name, const char* text) {
    std::printf("set(%s \"%s\")\n", name, html(text).c_str());
}

} // namespace

int main() {
    print("CREDITS_CAPTION", Wording::CreditsCaption);
    print("CREDITS_TEXT", Wording::CreditsText);
    print("REPORT_TITLE", Wording::ReportTitle);
}
