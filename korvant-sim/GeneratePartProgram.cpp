// korvant-sim-generate: writes a large part program for the stand-in KORVANT.
#include "PartProgram.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

// Every block of ten commands holds one command without dimension, one
// dimension of type 1000, seven dimensions whose axis qualifies and one
// whose axis ("XY") does not; all tolerances are zero.
sim::Command commandAt(std::size_t i)
{
    static const char* const Axes[] = {"X", "Y", "Z", "D", "R", "L", "PR"};
    sim::Command command;
    const std::size_t slot = i % 10;
    if (slot == 0) {
        command.typeCode = 1;
        return command;
    }
    command.isDimension = true;
    command.nominal = static_cast<double>((i * 37) % 50000) / 100.0;
    if (slot == 1) {
        command.typeCode = 1000;
        command.axis = "X";
    } else if (slot == 9) {
        command.typeCode = 1101;
        command.axis = "XY";
    } else {
        command.typeCode = 1101;
        command.axis = Axes[slot - 2];
    }
    return command;
}

} // namespace

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
    sim::PartProgram program;
    program.name = "Erzeugt mit " + std::to_string(count) + " Befehlen";
    program.commands.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        program.commands.push_back(commandAt(i));
    try {
        sim::writePartProgram(program, argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvant-sim-generate: %s\n", error.what());
        return 1;
    }
    return 0;
}
