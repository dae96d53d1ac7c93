#include "DecimalSeparator.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tembrel {

char RegionalDecimalSeparator() {
    // The wide form, so that a separator outside ASCII is seen as such: the
    // program's texts are UTF-8, where it would not be the one byte the ANSI
    // form returns.
    wchar_t buffer[8] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer,
                                      sizeof buffer / sizeof buffer[0]);
    // length counts the terminating NUL: a single-character separator gives 2.
    if (length == 2 && buffer[0] > 0 && buffer[0] < 0x80) {
        return static_cast<char>(buffer[0]);
    }
    return '.';
}

} // namespace tembrel
