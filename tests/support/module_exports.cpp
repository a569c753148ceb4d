#include "module_exports.h"

#include <cstdio>
#include <cstdlib>

void MissingControl(const char* module, const char* name) {
    std::fprintf(stderr, "%s lacks %s: is it the test double, and is WINEDLLOVERRIDES right?\n", module, name);
    std::exit(96);
}
