#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The stand-in KORVANT's part program: a name and its commands in order. Plain
// C++ so the Linux and the Windows stand-in share it and its file format.
namespace sim {

struct Command
{
    int typeCode = 0;
    bool isDimension = false;
    double nominal = 0;
    double plus = 0;
    double minus = 0; // as KORVANT holds it: a lower tolerance of 0.1 is -0.1
    std::string axis; // UTF-8
};

struct PartProgram
{
    std::string name; // UTF-8
    std::vector<Command> commands;
};

// The file is JSON:
//   {"name": "Flansch", "commands": [
//     {"type": 1101, "dimension": true, "nominal": 12.5, "plus": 0, "minus": 0, "axis": "X"}, ...]}
// Every field of a command may be left out and then takes the default above.
// Both throw std::runtime_error with a readable reason.
PartProgram readPartProgram(const std::string& path);
// Writes a temporary file beside the target and renames it, so a failed write
// never leaves half a file.
void writePartProgram(const PartProgram& program, const std::string& path);

std::string toJson(const PartProgram& program);
PartProgram fromJson(const std::string& text);

// A large part program for benchmarks and soaks. Every block of ten commands
// holds one command without dimension, one dimension of type 1000, seven
// dimensions whose axis qualifies and one whose axis ("XY") does not; all
// tolerances are zero, the nominals lie between 0 and 500.
PartProgram generatePartProgram(std::size_t count);

} // namespace sim
