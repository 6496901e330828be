#include "M3K.h"
#include "plimo.h"

int main() { ProgramEntry(Plimo_Body); }
