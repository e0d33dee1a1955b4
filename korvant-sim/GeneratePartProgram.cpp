// korvant-sim-generate: writes a large part program for the stand-in KORVANT.
#include "korvant-sim/PartProgram.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(
            stderr, "Aufruf: korvant-sim-generate ANZAHL DATEI\n"
                    "Schreibt ein Teileprogramm mit ANZAHL Befehlen (7 von 10 sind zu tolerierende Maße).\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long long count = std::strtoull(argv[1], &end, 10);
    if (*argv[1] == '\0' || *end != '\0') {
        std::fprintf(stderr, "korvant-sim-generate: Anzahl nicht lesbar: %s\n", argv[1]);
        return 2;
    }
    try {
        sim::writePartProgram(sim::generatePartProgram(count), argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvant-sim-generate: %s\n", error.what());
        return 1;
    }
    return 0;
}
