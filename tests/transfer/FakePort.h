#pragma once

#include "tests/transfer/TransferCases.h"
#include "tests/transfer/QtFingerprinting.h"
#include "transfer/core/TransferPort.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using Strings = std::vector<std::string>;

// The window side of the transfer without a window: the cases' table, a
// setting "OldVal", and a record of what the transfer showed.
class FakePort : public TransferPort
{
public:
    bool editMode = false;
    std::optional<std::string> path = "/tabellen/Grenzfälle.tabelle";
    Strings captions = transfercases::tableCaptions();
    bool keepTolerances = true;
    TableRelease release; // what was read of the table's record
    LocaleNumberReading localeReading = [](const std::string&) { return std::nullopt; };
    std::optional<std::size_t>
        cancelAtReport; // "Abbrechen" is seen at this report of progress, from 1, and after
    std::optional<std::size_t> cancelAtCheck; // "Abbrechen" is seen at this check before a call, from 1

    Strings events; // "wait", "restore", "message: ..."
    std::size_t stopChecks = 0;
    int oldValReads = 0;
    std::vector<std::pair<std::size_t, std::optional<std::size_t>>> progress;

private:
    mutable TableDocument document; // made afresh from the fields above at each look

public:

    const TableDocument& table() const override
    {
        document = transfercases::tableDocument(captions, path, editMode);
        document.setRelease(release);
        return document;
    }
    tablecheck::Locale locale() const override { return {localeReading, '.'}; }
    TableDocument::Fingerprinting fingerprinting() const override { return qtFingerprinting(); }
    bool keepExistingTolerances() const override
    {
        ++const_cast<FakePort*>(this)->oldValReads;
        return keepTolerances;
    }
    void showMessage(const std::string& text) override { events.push_back("message: " + text); }
    void setWaitPointer() override { events.push_back("wait"); }
    void restorePointer() override { events.push_back("restore"); }
    bool reportProgress(std::size_t done, std::optional<std::size_t> total) override
    {
        progress.emplace_back(done, total);
        return !(cancelAtReport && progress.size() >= *cancelAtReport);
    }
    bool stopRequested() override
    {
        ++stopChecks;
        return cancelAtCheck && stopChecks >= *cancelAtCheck;
    }
};

inline std::string messageEvent(const std::string& text)
{
    return std::string("message: ") + text;
}
