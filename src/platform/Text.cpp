#include "platform/Text.hpp"

#include <algorithm>
#include <cctype>

namespace sulvan {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::string LowerCased(std::string_view strText) {
    std::string strLower(strText);
    std::transform(strLower.begin(), strLower.end(), strLower.begin(), Lower);
    return strLower;
}

bool EqualIgnoringCase(std::string_view strFirst, std::string_view strSecond) {
    return std::equal(strFirst.begin(), strFirst.end(), strSecond.begin(), strSecond.end(),
                      [](char a, char b) { return Lower(a) == Lower(b); });
}

}  // namespace sulvan
