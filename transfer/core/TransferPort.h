#pragma once

#include "table/core/NumberReading.h"
#include "table/core/TableCheck.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What the transfer, its preview and its undo need from the window that runs
// them, and nothing more. Texts are UTF-8.
class TransferPort
{
public:
    virtual ~TransferPort() = default;

    // The table's edit boxes are shown: the shown values are not saved yet.
    virtual bool isEditMode() const = 0;
    // The caption of the table-name label: a file path or "keine Tabelle gewählt".
    virtual std::string tablePath() const = 0;
    // The 72 display captions, range 1's lower bound first (see cells::labelOrder()).
    virtual std::vector<std::string> labelCaptions() const = 0;
    // The check of the shown table, as the main window shows it.
    virtual std::vector<tablecheck::Finding> tableFindings() const = 0;
    // How the user's locale reads a number.
    virtual LocaleNumberReading localeNumbers() const = 0;
    // The setting "OldVal": tolerances a dimension has are kept unless it is "0".
    // Read afresh for every dimension that has a tolerance.
    virtual bool keepExistingTolerances() const = 0;

    // A notice with only an OK button; returns when it is closed.
    virtual void showMessage(const std::string& text) = 0;
    virtual void setWaitPointer() = 0;
    virtual void restorePointer() = 0;
    // Called before the first command is visited and after each; total is
    // empty where the host does not tell it in advance. False when the user
    // asked to stop ("Abbrechen").
    virtual bool reportProgress(std::size_t done, std::optional<std::size_t> total) = 0;
};
