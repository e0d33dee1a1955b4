#pragma once

#include "table/core/TableRelease.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// Reading, writing and deleting table files on disk. Every failure comes back
// as a German reason for the message to the user; nothing is half done.
namespace tablefileio {

// Why a table cannot be saved under this path before anything is written
// (missing folder, a folder that takes no new file, a folder of that name, a
// write-protected file), or nothing.
[[nodiscard]] std::optional<QString> saveTargetProblem(const QString& path);

// The notice for a character in the 71 values (value order) that a table
// file cannot hold, naming the character and its cell, or nothing.
[[nodiscard]] std::optional<QString> unstorableCharacterNotice(const QStringList& values);

// Writes the 71 values (value order) through a temporary file in the target
// folder that then replaces the target, so the file is either the old one or
// the complete new one. Returns the reason of a failure, or nothing.
[[nodiscard]] std::optional<QString> writeTable(const QString& path, const QStringList& values);

// Writes the bytes as writeTable() does: the file is either the old one or the
// complete new one. Returns the reason of a failure, or nothing.
[[nodiscard]] std::optional<QString> writeAtomically(const QString& path, const std::string& bytes);

struct LoadResult
{
    enum class Status
    {
        Loaded,
        NotFound,
        Refused
    };
    Status status = Status::Refused;
    QStringList values;         // 71 captions when loaded
    QString reason;             // when refused
    bool byteOrderMark = false; // when loaded: the file starts with a UTF-8 byte-order mark, skipped
    bool moreValues = false;    // when loaded: more than blanks and line ends follow the 71st value
};

// Reads the first 71 values of the file, never more, and looks a bounded way
// past them for more values. An unquoted number is shown in the user's number
// format (the default QLocale), without an exponent for ordinary sizes.
LoadResult loadTable(const QString& path);

// The release record beside the table file of this path: none, read, or the
// reason it cannot be read.
TableRelease loadRelease(const QString& tablePath);
// Where that record lies.
QString releasePath(const QString& tablePath);

// Deletes exactly the file of this name (never a pattern). Returns the reason
// of a failure, or nothing.
[[nodiscard]] std::optional<QString> deleteTable(const QString& path);

// "<what>:", the path and the reason, one a line.
QString failureMessage(const QString& what, const QString& path, const QString& reason);

} // namespace tablefileio
