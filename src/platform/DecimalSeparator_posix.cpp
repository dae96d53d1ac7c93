#include "DecimalSeparator.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace tembrel {

char RegionalDecimalSeparator() {
    // newlocale reads the LC_NUMERIC the user's environment names without
    // touching the process locale, which stays "C" for everything else.
    locale_t regional = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (regional == static_cast<locale_t>(nullptr)) {
        return '.';
    }
    const char* radix = nl_langinfo_l(RADIXCHAR, regional);
    char separator = '.';
    if (radix != nullptr && std::strlen(radix) == 1) {
        separator = radix[0];
    }
    freelocale(regional);
    return separator;
}

} // namespace tembrel
