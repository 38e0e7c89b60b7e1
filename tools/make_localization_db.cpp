// Writes the English translation file from the program's built-in texts, through the same
// code that writes a translation template ("+EXPTEXT"). Run by the build.
#include <cstdio>

#include "app/AppLocDB.h"
#include "platform/win/WinString.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    StoreResourceStrings(appLocDB);
    if (appLocDB.SaveDB(Utf8ToUtf16(argv[1])) != 0) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
