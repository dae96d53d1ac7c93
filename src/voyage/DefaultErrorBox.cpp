#include "DefaultErrorBox.h"

namespace tembrel {

std::string DefaultErrorBoxText(std::string_view message) {
    std::string text(message);
    // Compared as unsigned, so that a non-ASCII last byte counts as a letter.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

} // namespace tembrel
