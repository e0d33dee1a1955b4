#pragma once

#include "tests/transfer/FakeHost.h"
#include "tests/transfer/FakePort.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/core/TransferCommand.h"

#include <algorithm>
#include <optional>
#include <string>

// What the report and undo tests share: a run of the transfer cases into the
// stand-in's objects, and looks at the calls it made.
namespace reporttest {

inline std::size_t count(const Strings& calls, const std::string& prefix)
{
    return std::size_t(std::count_if(calls.begin(), calls.end(), [&prefix](const std::string& call) {
        return call.rfind(prefix, 0) == 0;
    }));
}

// Sets a tolerance in the stand-in as a user of KORVANT would.
inline void change(sim::SimHost& objects, std::size_t command, int dispid, double value)
{
    objects.put({sim::ObjectKind::Command, command - 1}, "KVTLRN.Dimension", dispid, value);
}

// "Ausführen" of the cases' table into the cases' part program.
struct Run
{
    sim::SimHost objects;
    FakePort window;
    std::optional<TransferReport> report;

    explicit Run(sim::FaultPlan faults = {})
        : objects(transfercases::partProgram(), sim::PartProgramState::Active, std::move(faults))
    {
        FakeHost host(objects);
        report = runTransfer(window, host);
        if (report)
            report->time = "2026-12-09 14:30:05";
    }
};

// The positions of the commands the run writes into, from 1.
inline const std::vector<std::size_t>& writtenPositions()
{
    static const std::vector<std::size_t> positions = {1, 2, 4, 5, 6, 7, 8, 9, 11, 12, 18, 19, 26};
    return positions;
}

} // namespace reporttest
