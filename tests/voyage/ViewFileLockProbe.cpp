// Another copy of the program for the lock's tests on Windows: takes the lock
// for the view file in its current folder, prints what Acquire returned as
// one digit, and holds it until its input ends.
#include "ViewFileLock.h"

#include <cstdio>

int main() {
    tembrel::ViewFileLock lock;
    const int result = static_cast<int>(lock.Acquire("TembrelData.KML"));
    std::fputc('0' + result, stdout);
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
