#include "DecimalSeparator.h"

#include <windows.h>

namespace tembrel {

char RegionalDecimalSeparator() {
    char buffer[8] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    // length counts the terminating NUL: a single-character separator gives 2.
    return length == 2 ? buffer[0] : '.';
}

} // namespace tembrel
