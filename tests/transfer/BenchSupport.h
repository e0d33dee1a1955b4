#pragma once

// What the transfer benchmarks share, over D-Bus and over COM: the table they
// transfer, the window side of a run, and the host operations a transfer of a
// part program needs, counted from the part program itself.
#include "korvant-sim/PartProgram.h"
#include "tests/transfer/QtFingerprinting.h"
#include "transfer/core/TransferPort.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// ISO 2768-m up to 1000: every generated nominal (0 to 500) finds a row.
std::vector<std::string> tableCaptions();

// A chosen table and "OldVal" = "0", so that every run into the same part
// program makes the same calls: the second run overwrites what the first wrote.
class Port : public TransferPort
{
public:
    Port();
    const TableDocument& table() const override { return m_table; }
    tablecheck::Locale locale() const override { return {noLocaleReading, '.'}; }
    TableDocument::Fingerprinting fingerprinting() const override { return qtFingerprinting(); }
    bool keepExistingTolerances() const override { return false; }
    void showMessage(const std::string& text) override;
    void setWaitPointer() override {}
    void restorePointer() override {}
    bool reportProgress(std::size_t, std::optional<std::size_t>) override { return true; }
    bool stopRequested() override { return false; }

    // Only the plain readings with "." and ",".
    static std::optional<double> noLocaleReading(const std::string&) { return std::nullopt; }

private:
    TableDocument m_table;
};

struct Required
{
    std::uint64_t operations = 0; // gets and puts, the four that reach the commands included
    std::uint64_t qualifying = 0; // dimensions whose axis qualifies
};

// The gets and puts a run with the port above makes: four to reach the
// commands, then per command its reads and puts. Stepping through the
// collection is the transport's own affair and not counted here.
Required requiredOperations(const sim::PartProgram& program);

} // namespace bench
