#pragma once

#include "table/core/TableCells.h"
#include "table/core/TableCheck.h"
#include "table/core/TableNumbers.h"
#include "table/core/TableRelease.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The tolerance table the main window shows and edits: which file it is
// (none, or the file's full path; "keine Tabelle gewählt" is only how none is
// shown), whether it is being edited, the 71 values as typed, the 72 captions
// shown, what the reader noted of its file and what was read of its release
// record. Windows show it and change it only through the operations below.
// Texts are UTF-8.
class TableDocument
{
public:
    enum class Mode
    {
        Display, // the shown captions count; the typed values are stale
        Edit     // the typed values count; the shown captions are empty
    };

    using Values = std::array<std::string, cells::ValueCount>;   // value order
    using Captions = std::array<std::string, cells::LabelCount>; // label order, range 1's "0" first
    // The "Prüfsumme" of a fingerprint text: its SHA-256 in 64 upper-case hex
    // digits, made by a layer that has the hash.
    using Fingerprinting = std::function<std::string(const std::string& text)>;

    TableDocument();

    const std::optional<std::string>& path() const { return m_path; }
    bool hasPath() const { return m_path.has_value(); }
    Mode mode() const { return m_mode; }
    bool isEditing() const { return m_mode == Mode::Edit; }
    const Values& typed() const { return m_typed; }
    const Captions& shown() const { return m_shown; }
    const tablecheck::FileNotes& fileNotes() const { return m_fileNotes; }
    // The record beside the table's file as it was read at the last open, save or release.
    const TableRelease& release() const { return m_release; }
    // Counts every change, so that a view can tell whether it is up to date.
    std::uint64_t changeCount() const { return m_changes; }

    // The path the file dialogs set while the user picks a file (or give back
    // when closed), and the one a save or an open settles.
    void setPath(std::optional<std::string> path);
    // A keystroke in the box of the cell at this value index (edit mode only).
    void setTyped(std::size_t valueIndex, std::string text);

    // "Neu erstellen": edit mode with 71 empty values; the path stays.
    void startNew();
    // "Bearbeiten": edit mode with the shown captions as the typed values; the path stays.
    void editShown();
    // After a save: display mode, showing the values as the file now holds them
    // and the record that lies beside it now.
    void leaveEditMode(const Values& asStored, TableRelease release = {});
    // After an open: these values shown, with what the reader noted and the
    // record beside the file; the mode stays.
    void showFileValues(const Values& values, const tablecheck::FileNotes& notes, TableRelease release = {});
    // After "Freigeben…": the record just written.
    void setRelease(TableRelease release);
    // After a delete: no path, the 71 captions empty, no record; the mode stays.
    void clearAfterDelete();

    // The 72 cells as the check and the transfer read them, range 1's "0"
    // first: what is typed in edit mode, what is shown otherwise.
    std::vector<std::string> cells() const;
    // The 18 ranges' numbers of those cells, read as the transfer reads them.
    TableNumbers numbers(const LocaleNumberReading& locale) const;
    // The check of those cells; the file's notes count only for the values shown from it.
    std::vector<tablecheck::Finding> check(const tablecheck::Locale& locale) const;
    // The text the "Prüfsumme" is taken of, and the sum; none while a cell is no number.
    std::optional<std::string> fingerprintText(const LocaleNumberReading& locale) const;
    std::optional<std::string> fingerprint(const LocaleNumberReading& locale,
                                           const Fingerprinting& fingerprinting) const;
    // check() and, for the values shown from the file, the Fehler of a record
    // that does not match them (this fingerprint()) or cannot be read: what the transfer refuses.
    std::vector<tablecheck::Finding> checkWithRelease(const tablecheck::Locale& locale,
                                                      const std::optional<std::string>& fingerprint) const;

private:
    void setEditableCaptions(const Values& values);
    void changed() { ++m_changes; }

    std::optional<std::string> m_path;
    Mode m_mode = Mode::Display;
    Values m_typed;
    Captions m_shown;
    tablecheck::FileNotes m_fileNotes;
    TableRelease m_release;
    std::uint64_t m_changes = 0;
};
