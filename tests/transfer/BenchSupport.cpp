#include "tests/transfer/BenchSupport.h"

#include "table/core/TableCells.h"
#include "transfer/core/RangeSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

std::vector<std::string> bench::tableCaptions()
{
    std::vector<std::string> captions(72, "");
    const char* lower[] = {"0", "3", "6", "30", "120", "400"};
    const char* upper[] = {"3", "6", "30", "120", "400", "1000"};
    const char* tolerance[] = {"0.1", "0.1", "0.2", "0.3", "0.5", "0.8"};
    using cells::Column;
    for (int row = 0; row < 6; ++row) {
        const int range = row + 1;
        captions[cells::labelIndex({Column::Lower, range})] = lower[row];
        captions[cells::labelIndex({Column::Upper, range})] = upper[row];
        captions[cells::labelIndex({Column::Plus, range})] = tolerance[row];
        captions[cells::labelIndex({Column::Minus, range})] = tolerance[row];
    }
    return captions;
}

bench::Port::Port()
{
    const std::vector<std::string> captions = tableCaptions();
    TableDocument::Values values;
    std::copy(captions.begin() + 1, captions.end(), values.begin());
    m_table.showFileValues(values, {});
    m_table.setPath("bench.tabelle");
}

void bench::Port::showMessage(const std::string& text)
{
    std::printf("Meldung: %s\n", text.c_str());
}

bench::Required bench::requiredOperations(const sim::PartProgram& program)
{
    static const std::string Axes[] = {"X", "Y", "Z", "D", "R", "L", "PR", "H"};
    const RangeSet ranges = RangeSet::fromCaptions(tableCaptions(), Port::noLocaleReading);
    Required required;
    required.operations = 4;
    for (const sim::Command& command : program.commands) {
        required.operations += 1;
        if (!command.isDimension)
            continue;
        required.operations += 2;
        if (command.typeCode == 1000 || command.typeCode == 1200)
            continue;
        required.operations += 4;
        const bool axisQualifies =
            std::find(std::begin(Axes), std::end(Axes), command.axis) != std::end(Axes);
        if (!axisQualifies && command.typeCode != 1106 && command.typeCode != 1107)
            continue;
        ++required.qualifying;
        if (ranges.lookUp(std::fabs(command.nominal)))
            required.operations += 2;
    }
    return required;
}
