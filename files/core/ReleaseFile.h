#pragma once

#include "table/core/TableRelease.h"

#include <string>
#include <string_view>
#include <variant>

// The release record beside a table file: "<file name>.freigabe", UTF-8, one
// "Schlüssel: Wert" line each for "Prüfsumme", "Stand", "Grundlage",
// "Freigegeben von", "Freigegeben am" and "Bemerkung", CRLF line ends.
namespace releasefile {

// "ISO 2768-m.tabelle" → "ISO 2768-m.tabelle.freigabe".
std::string pathFor(const std::string& tablePath);

// The exact bytes of a record; a line end inside a value becomes a blank.
std::string encode(const ReleaseRecord& record);

// More than this is no record: its reader stops there.
constexpr std::size_t LongestRecord = 64 * 1024;

// The record these bytes hold, or the German reason why they hold none
// ("Die Zeile „Stand“ fehlt.").
std::variant<ReleaseRecord, std::string> decode(std::string_view bytes);

} // namespace releasefile
