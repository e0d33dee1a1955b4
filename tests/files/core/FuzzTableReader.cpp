// libFuzzer target: the table file reader takes any bytes without crashing,
// takes none past the 71st line, and reads the same in pieces as whole, the
// notes on a byte-order mark and on more values included; and every table the
// save accepts reads back value for value.
#include "files/core/TableFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// What the save stores for an accepted text: the minus sign and the
// no-break and thin spaces as "-" and " ".
std::string stored(std::string text)
{
    replaceAll(text, "\u2212", "-");
    for (const char* space : {"\u00A0", "\u2009", "\u202F"})
        replaceAll(text, space, " ");
    return text;
}

void readsAnyBytes(std::string_view bytes)
{
    const tablefile::ReadResult whole = tablefile::readTable(bytes);
    check(whole.values.size() <= std::size_t(tablefile::ValueCount));
    check(whole.bytesRead <= bytes.size());
    check((whole.problem == tablefile::ReadProblem::None) ==
          (whole.values.size() == std::size_t(tablefile::ValueCount)));
    for (const tablefile::Value& value : whole.values)
        check(value.text.size() <= 3 * tablefile::MaxValueBytes);

    // Nothing after the bytes taken may matter: the file cut there reads the same.
    const tablefile::ReadResult cut = tablefile::readTable(bytes.substr(0, whole.bytesRead));
    check(cut.problem == whole.problem && cut.values.size() == whole.values.size());

    // Pieces of three bytes, as a file read in chunks.
    tablefile::TableReader reader;
    for (std::size_t i = 0; i < bytes.size() && reader.feed(bytes.substr(i, 3)); i += 3) {
    }
    const tablefile::ReadResult pieces = reader.finish();
    check(pieces.problem == whole.problem && pieces.bytesRead == whole.bytesRead);
    check(pieces.byteOrderMark == whole.byteOrderMark && pieces.moreValues == whole.moreValues);
    for (std::size_t i = 0; i < whole.values.size(); ++i)
        check(pieces.values[i].text == whole.values[i].text);
}

// The same bytes as 71 texts (UTF-8, split at NUL bytes, missing ones
// empty); a text the save refuses, or longer than an edit box takes, is
// left empty.
void savedTablesReadBack(std::string_view bytes)
{
    std::array<std::string, tablefile::ValueCount> texts;
    for (std::string& text : texts) {
        const std::size_t end = std::min(bytes.find('\0'), bytes.size());
        const std::string_view piece = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (piece.size() <= tablefile::MaxValueBytes && !tablefile::firstUnstorable(piece))
            text = piece;
    }
    check(!tablefile::findUnstorable(texts));
    const tablefile::ReadResult read = tablefile::readTable(tablefile::encodeTable(texts));
    check(read.problem == tablefile::ReadProblem::None);
    for (int i = 0; i < tablefile::ValueCount; ++i)
        check(read.values[i].text == stored(texts[i]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readsAnyBytes(bytes);
    savedTablesReadBack(bytes);
    return 0;
}
