#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What the transfer command needs from the window that runs it, and nothing
// more. Texts are UTF-8.
class TransferWindow
{
public:
    virtual ~TransferWindow() = default;

    // The table's edit boxes are shown: the shown values are not saved yet.
    virtual bool isEditMode() const = 0;
    // The caption of the table-name label: a file path or "keine Tabelle gewählt".
    virtual std::string tablePath() const = 0;
    // The 72 display captions, range 1's lower bound first (see cells::labelOrder()).
    virtual std::vector<std::string> labelCaptions() const = 0;
    // The user's locale's reading of a number, no group separators allowed.
    virtual std::optional<double> readLocaleNumber(const std::string& text) const = 0;
    // The setting "OldVal", "1" when it is missing.
    virtual std::string oldValSetting() const = 0;

    // A notice with only an OK button; returns when it is closed.
    virtual void showMessage(const std::string& text) = 0;
    virtual void setWaitPointer() = 0;
    virtual void restorePointer() = 0;
    // Called before each command is visited and once after the last;
    // total is empty where the host does not tell it in advance.
    virtual void reportProgress(std::size_t done, std::optional<std::size_t> total) = 0;
};
