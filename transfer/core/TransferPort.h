#pragma once

#include "table/core/TableCheck.h"
#include "table/core/TableDocument.h"

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

    // The table the main window holds: its path, its mode, its values.
    virtual const TableDocument& table() const = 0;
    // How the user's locale reads and writes a number.
    virtual tablecheck::Locale locale() const = 0;
    // How the table's "Prüfsumme" is made of its fingerprint text.
    virtual TableDocument::Fingerprinting fingerprinting() const = 0;
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
    // Asked before every call to KORVANT but the second put of a dimension:
    // whether the user asked to stop ("Abbrechen"). Cheap when asked often.
    virtual bool stopRequested() = 0;
};
