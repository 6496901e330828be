// Plimo: a small interactive 3-D scene viewer.
#include "M3K.h"

namespace {

void Plimo_Body(int argc, char** argv) {
    M3K_InitFPP();
    M3K_INIT_HISTORY();
    M3K_BEGIN(argc, argv, true, 2000000, 4000000);
    // The viewer itself arrives with the graphics and console libraries.
}

} // namespace

int main() { ProgramEntry(Plimo_Body); }
