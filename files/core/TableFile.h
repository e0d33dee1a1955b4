#pragma once

#include "table/core/TableCells.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A table file (".tabelle") holds the 71 editable values of a tolerance table
// in value order, one a line: a double quote, the value's text in Windows-1252,
// a double quote, CR LF. No header, no byte-order mark, no escaping.
// The reader also takes files written by hand or by other programs (below).
// Texts given to and taken from this module are UTF-8.
namespace tablefile {

constexpr int ValueCount = cells::ValueCount;
inline const char* const Extension = ".tabelle";
inline const char* const NamePattern = "*.tabelle";

// The longest value a table file may hold: an edit box takes at most 32767
// characters, each one byte in Windows-1252. Longer values mean the file is
// no table file, and the bound keeps reading short whatever the file holds.
constexpr std::size_t MaxValueBytes = 32767;

// How far beyond the bytes taken for the table (ReadResult::bytesRead) the
// reader looks for more values. Whoever reads a file in pieces at least this
// long reads at most one piece more for it.
constexpr std::size_t LookAheadBytes = 64 * 1024;

// Windows-1252, so tables move between Windows and Linux machines unchanged.
// The minus sign U+2212 is stored as "-" and the no-break and thin spaces as
// " ": in a number they mean the same. Other characters a table file cannot
// hold (see firstUnstorable) become "?"; the save refuses them beforehand.
std::string toWindows1252(std::string_view utf8);
// The first character of the text that a table file cannot hold: one that
// Windows-1252 lacks and that is not stored as another, a control character
// other than tab (a line break would split the value), or U+FFFD for broken UTF-8.
std::optional<char32_t> firstUnstorable(std::string_view utf8);
std::string fromWindows1252(std::string_view bytes);
// The text as a table file gives it back once written: what a save leaves on
// screen, so that opening the file again shows and checks the same.
std::string asStored(std::string_view utf8);
// Whether a Windows-1252 text file may hold this byte: printable characters,
// tab and line ends; not NUL, other control bytes or the five unused bytes.
bool isTextByte(unsigned char byte);

// The exact bytes of a table file holding these values (value order).
std::string encodeTable(const std::array<std::string, ValueCount>& values);

struct Unstorable
{
    cells::Cell cell;
    char32_t character;
};
// The first character, in value order, that a table file cannot hold.
std::optional<Unstorable> findUnstorable(const std::array<std::string, ValueCount>& values);

struct Value
{
    std::string text; // UTF-8, as it stands in the file
    std::optional<double>
        number; // set when the value is unquoted and reads as a number with "." as decimal point
};

enum class ReadProblem
{
    None,
    TooFewValues, // the file ends before the 71st value
    NotText,      // a byte no text file holds (NUL, other control bytes, bytes Windows-1252 leaves unused)
    ValueTooLong, // a value longer than MaxValueBytes
    MissingQuote, // a line ends inside a quoted value
};

struct ReadResult
{
    ReadProblem problem = ReadProblem::None;
    std::vector<Value> values;  // all 71 when problem is None; those read so far otherwise
    std::size_t bytesRead = 0;  // bytes taken from the file, up to the end of the 71st value
    bool byteOrderMark = false; // the file starts with a UTF-8 byte-order mark, which was skipped
    bool moreValues = false;    // something other than blanks and line ends follows the 71st value
};

// A file whose first 71 lines each hold one quoted value (blanks around the
// quotes allowed), as the writer writes it, is read line by line: the value is
// everything between the line's first and last quote, so every text the writer
// wrote comes back whole, also one holding a quote and a comma.
//
// Any other file is read as values separated by line ends (CR LF, LF or CR) or
// commas. A quoted value runs to its closing quote: a quote followed, after any
// blanks, by a comma, a line end or the end of the file. An unquoted value runs
// to the next comma or line end, without surrounding blanks. A line end
// directly after a comma belongs to that comma; an empty line is an empty
// value. Reading stops after the 71st value or line, whichever comes last, so
// at most 71 lines of bounded length are ever read.
//
// A UTF-8 byte-order mark at the start, as some editors write one, is skipped
// in both ways of reading.
//
// Having read the table, the reader looks up to LookAheadBytes further for
// anything but blanks and line ends after the 71st value: a file with a line
// too many (one line doubled, say) holds more values, each later one shifted
// by a cell.
//
// Bytes are fed in pieces as they come from the file; feed() returns false
// once no more are wanted (71 values read and looked past, or a problem found).
class TableReader
{
public:
    bool feed(std::string_view bytes);
    // The end of the file: completes the last value and gives the result.
    ReadResult finish();

private:
    enum class State
    {
        FieldStart,
        Unquoted,
        Quoted,
        AfterQuote,
        Done
    };

    enum class Lines
    {
        Possible,  // every line so far was one quoted value
        Complete,  // 71 such lines
        Impossible // a line that is not, or a byte no text file holds
    };

    bool takeAtStart(char byte);
    bool takeHeldBack();
    bool take(char byte);
    bool readingTable() const;
    bool wantsMore() const;
    void takeForValues(char byte, bool comma, bool lineEnd);
    void takeForLines(char byte, bool lineEnd);
    void endField(bool bySeparatorComma);
    void endLine();
    void fail(ReadProblem problem);

    State m_state = State::FieldStart;
    ReadResult m_result;
    std::string m_field;   // the value's bytes so far
    std::string m_pending; // a quote and blanks that may close a quoted value
    std::size_t m_fieldBytes = 0;
    bool m_afterComma = false; // the last separator was a comma
    bool m_afterCarriageReturn = false;

    Lines m_lines = Lines::Possible;
    std::string m_line;                    // the current line's bytes
    std::vector<std::string> m_lineValues; // the bytes between each line's first and last quote

    bool m_startChecked = false; // whether the file starts with a byte-order mark is known
    std::size_t m_markBytes = 0; // the first bytes so far, held back while they match the mark
    std::size_t m_bytesLookedAhead = 0;
    bool m_moreAfterValues = false; // something followed the 71st value
    bool m_moreAfterLines = false;  // something followed the 71st line
};

// The whole file at once.
ReadResult readTable(std::string_view bytes);

// German text naming what is wrong with the file, for the message to the user.
std::string describeProblem(const ReadResult& result);

// Save names: a name starting with "*" (the name box's initial "*.tabelle")
// is refused. ".tabelle" is appended unless the name ends in exactly
// ".tabelle" (lower case).
bool isRefusedName(std::string_view name);
std::string withExtension(std::string_view name);
// One separator is always inserted, also after a root folder ("/" or "C:\").
std::string joinPath(std::string_view folder, std::string_view name, char separator);

} // namespace tablefile
