#include "wording.h"

std::string Wording::filled(const char* pattern, std::initializer_list<std::int64_t> numbers) {
    std::string text;
    auto number = numbers.begin();
    for (; *pattern != '\0'; ++pattern) {
        if (*pattern == '%' && number != numbers.end()) {
            text += std::to_string(*number++);
        } else {
            text += *pattern;
        }
    }
    return text;
}
