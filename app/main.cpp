// The executable. The start-up sequence joins here as the main window is built; until then
// the program says so and exits with a distinct status instead of pretending to run.
#include <cstdio>

int main(int, char**) {
    std::fprintf(stderr,
                 "Quillora Pro: the program window is not built yet; "
                 "only the libraries and their tests exist so far.\n");
    return 2;
}
