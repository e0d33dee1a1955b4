#pragma once

#include "table/core/TableCheck.h"

#include <optional>
#include <string>

// A table's release: what a quality lead recorded in the file beside it,
// "<file name>.freigabe", when the table was released for use. Texts are UTF-8.
struct ReleaseRecord
{
    std::string fingerprint; // the 64 hex digits of the table's "Prüfsumme", upper case
    std::string version;     // "Stand"
    std::string basis;       // "Grundlage", may be empty
    std::string releasedBy;  // "Freigegeben von"
    std::string releasedAt;  // "Freigegeben am", ISO 8601 with the UTC offset
    std::string remark;      // "Bemerkung", may be empty
};

// What was read of a table's record when the table was opened or saved.
struct TableRelease
{
    enum class State
    {
        None,      // no record beside the table
        Read,      // `record` holds it
        Unreadable // `problem` says why
    };
    State state = State::None;
    ReleaseRecord record;
    std::string problem;
};

namespace release {

// "09.12.2026" from "2026-12-09T14:30:05+01:00"; the text itself where it is no such time.
std::string shownDate(const std::string& isoTime);
// "Freigegeben: Stand 3, M. Muster, 09.12.2026" where the record matches the
// table's fingerprint, "nicht freigegeben" otherwise.
std::string statusText(const TableRelease& release, const std::optional<std::string>& fingerprint);
// The first `digits` digits of a "Prüfsumme" in groups of four, "3F2A 91C0 77DE 0B14",
// so that two sums are compared by eye.
std::string groupedDigits(const std::string& fingerprint, std::size_t digits = 64);
// "Prüfsumme 3F2A 91C0 77DE 0B14" (the first `digits` digits), "keine Prüfsumme"
// for a table that has none.
std::string fingerprintLine(const std::optional<std::string>& fingerprint, std::size_t digits = 16);
// The Fehler of a record that does not match the table or cannot be read.
std::optional<tablecheck::Finding> finding(const TableRelease& release,
                                           const std::optional<std::string>& fingerprint);
bool matches(const TableRelease& release, const std::optional<std::string>& fingerprint);

} // namespace release
