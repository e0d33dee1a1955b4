#include "tests/transfer/TransferCases.h"

#include "table/core/TableCells.h"

namespace transfercases {
namespace {

struct Row
{
    int range;
    const char* lower;
    const char* upper;
    const char* plus;
    const char* minus;
};

constexpr Row Rows[] = {
    {1, "0", "3", "0.1", "0.1"},    {2, "3", "6", "0.2", "0.15"},     {3, "6", "10", "0.3", "0.25"},
    {4, "8", "12", "0.4", "0.05"}, {18, "500", "600", "0.9", "0.8"},
};

sim::Command dimension(int typeCode, const char* axis, double nominal, double plus = 0, double minus = 0)
{
    sim::Command command;
    command.typeCode = typeCode;
    command.isDimension = true;
    command.axis = axis;
    command.nominal = nominal;
    command.plus = plus;
    command.minus = minus;
    return command;
}

sim::Command noDimension()
{
    sim::Command command;
    command.typeCode = 1;
    return command;
}

constexpr Tolerances Untouched{0, 0};
constexpr Tolerances Row1{0.1, -0.1};
constexpr Tolerances Row2{0.2, -0.15};
constexpr Tolerances Row3{0.3, -0.25};
constexpr Tolerances Row4{0.4, -0.05};
constexpr Tolerances Row18{0.9, -0.8};

} // namespace

std::vector<std::string> tableCaptions()
{
    const auto& order = cells::labelOrder();
    std::vector<std::string> captions(order.size(), " "); // a blank row as the window starts with it
    captions[0] = cells::FirstLowerBound;
    for (std::size_t i = 0; i < order.size(); ++i)
        for (const Row& row : Rows) {
            if (order[i].range != row.range)
                continue;
            switch (order[i].column) {
            case cells::Column::Lower:
                if (row.range > 1)
                    captions[i] = row.lower;
                break;
            case cells::Column::Upper:
                captions[i] = row.upper;
                break;
            case cells::Column::Plus:
                captions[i] = row.plus;
                break;
            case cells::Column::Minus:
                captions[i] = row.minus;
                break;
            }
        }
    return captions;
}

std::vector<std::string> tableValues()
{
    const std::vector<std::string> captions = tableCaptions();
    return std::vector<std::string>(captions.begin() + 1, captions.end());
}

const std::vector<TransferCase>& cases()
{
    static const std::vector<TransferCase> all = {
        {"nominal 3 is row 1's upper bound", dimension(1101, "X", 3), Row1, Row1},
        {"nominal 3.00002 lies in row 2", dimension(1101, "Y", 3.00002), Row2, Row2},
        {"nominal between 3 and 3.00001 takes no row", dimension(1101, "Z", 3.000005), Untouched, Untouched},
        {"nominal 0 takes row 1, lower bound included", dimension(1101, "D", 0), Row1, Row1},
        {"nominal -4.5 is looked up as 4.5", dimension(1101, "R", -4.5), Row2, Row2},
        {"nominal 6 is row 2's upper bound", dimension(1101, "L", 6), Row2, Row2},
        {"nominal 10 is row 3's upper bound", dimension(1101, "PR", 10), Row3, Row3},
        {"overlapping rows: the lower-numbered wins", dimension(1101, "H", 9), Row3, Row3},
        {"row 4 alone", dimension(1101, "X", 11), Row4, Row4},
        {"blank rows take no nominal", dimension(1101, "Y", 100), Untouched, Untouched},
        {"row 18 takes what lies in its bounds only", dimension(1101, "Z", 550), Row18, Row18},
        {"row 18's upper bound is included", dimension(1101, "D", 600), Row18, Row18},
        {"row 18's typed lower bound is not in it", dimension(1101, "R", 500), Untouched, Untouched},
        {"above the highest upper bound", dimension(1101, "L", 700), Untouched, Untouched},
        {"axis x in lower case is left alone", dimension(1101, "x", 5), Untouched, Untouched},
        {"axis XY is left alone", dimension(1101, "XY", 5), Untouched, Untouched},
        {"empty axis is left alone", dimension(1101, "", 5), Untouched, Untouched},
        {"type 1106 qualifies whatever its axis", dimension(1106, "", 5), Row2, Row2},
        {"type 1107 qualifies whatever its axis", dimension(1107, "XY", -5), Row2, Row2},
        {"type 1000 is left alone", dimension(1000, "X", 5), Untouched, Untouched},
        {"type 1200 is left alone", dimension(1200, "Y", 5), Untouched, Untouched},
        {"a command without dimension", noDimension(), Untouched, Untouched},
        {"plus tolerance 0.1 and minus 0", dimension(1101, "X", 5, 0.1, 0), {0.1, 0}, Row2},
        {"minus tolerance only", dimension(1101, "Y", 5, 0, -0.05), {0, -0.05}, Row2},
        {"existing tolerance, no row", dimension(1101, "Z", 700, 0.3, -0.3), {0.3, -0.3}, {0.3, -0.3}},
        {"both tolerances zero", dimension(1101, "H", 1.5), Row1, Row1},
    };
    return all;
}

sim::PartProgram partProgram()
{
    sim::PartProgram program;
    program.name = "Grenzfälle Übertragung";
    for (const TransferCase& transferCase : cases())
        program.commands.push_back(transferCase.before);
    return program;
}

const char* firstCaseNotAsBefore(const sim::PartProgram& program)
{
    if (program.commands.size() != cases().size())
        return "Zahl der Befehle";
    for (std::size_t i = 0; i < cases().size(); ++i)
        if (program.commands[i].plus != cases()[i].before.plus ||
            program.commands[i].minus != cases()[i].before.minus)
            return cases()[i].what;
    return nullptr;
}

} // namespace transfercases
