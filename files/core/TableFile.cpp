#include "files/core/TableFile.h"

#include "table/core/PlainNumber.h"

namespace tablefile {
namespace {

// A value's bytes in the file: its text and the two quotes.
constexpr std::size_t MaxFieldBytes = MaxValueBytes + 2;

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

bool isLineEnd(char byte)
{
    return byte == '\r' || byte == '\n';
}

} // namespace

std::string encodeTable(const std::array<std::string, ValueCount>& values)
{
    std::string bytes;
    for (const std::string& value : values) {
        bytes += '"';
        bytes += toWindows1252(value);
        bytes += "\"\r\n";
    }
    return bytes;
}

std::optional<Unstorable> findUnstorable(const std::array<std::string, ValueCount>& values)
{
    for (int i = 0; i < ValueCount; ++i)
        if (const std::optional<char32_t> character = firstUnstorable(values[i]))
            return Unstorable{cells::valueOrder()[i], *character};
    return std::nullopt;
}

bool TableReader::feed(std::string_view bytes)
{
    for (char byte : bytes)
        if (!(m_startChecked ? take(byte) : takeAtStart(byte)))
            return false;
    return wantsMore();
}

// The first bytes are held back while they may be a byte-order mark.
bool TableReader::takeAtStart(char byte)
{
    if (byte == ByteOrderMark[m_markBytes]) {
        if (++m_markBytes == ByteOrderMark.size()) {
            m_startChecked = true;
            m_result.byteOrderMark = true;
            m_result.bytesRead += ByteOrderMark.size();
        }
        return true;
    }
    return takeHeldBack() && take(byte);
}

// The bytes held back began no byte-order mark: they are the file's first text.
bool TableReader::takeHeldBack()
{
    m_startChecked = true;
    for (std::size_t i = 0; i < m_markBytes; ++i)
        if (!take(ByteOrderMark[i]))
            return false;
    return true;
}

// The 71 values are still being read, or the lines may still turn out to be the table.
bool TableReader::readingTable() const
{
    return m_state != State::Done || m_lines == Lines::Possible;
}

bool TableReader::wantsMore() const
{
    if (readingTable())
        return true;
    // Past a table read, a bounded look on for more values.
    const bool asLines = m_lines == Lines::Complete;
    const bool tableRead = asLines || m_result.problem == ReadProblem::None;
    const bool moreFound = asLines ? m_moreAfterLines : m_moreAfterValues;
    return tableRead && !moreFound && m_bytesLookedAhead < LookAheadBytes;
}

bool TableReader::take(char byte)
{
    if (!wantsMore())
        return false;
    // Once the 71st value (or line) is read, anything but blanks and line ends is more.
    if (!isBlank(byte) && !isLineEnd(byte)) {
        m_moreAfterValues |= m_state == State::Done;
        m_moreAfterLines |= m_lines == Lines::Complete;
    }
    if (!readingTable()) {
        ++m_bytesLookedAhead;
        return wantsMore();
    }
    ++m_result.bytesRead;
    if (!isTextByte(static_cast<unsigned char>(byte))) {
        if (m_state != State::Done)
            fail(ReadProblem::NotText);
        m_lines = Lines::Impossible;
        return false;
    }
    // The LF of a CR LF pair: the line end was taken with the CR.
    const bool secondHalfOfLineEnd = m_afterCarriageReturn && byte == '\n';
    m_afterCarriageReturn = byte == '\r';
    if (secondHalfOfLineEnd)
        return true;

    const bool lineEnd = isLineEnd(byte);
    if (m_lines == Lines::Possible)
        takeForLines(byte, lineEnd);
    if (m_state != State::Done)
        takeForValues(byte, byte == ',', lineEnd);
    return wantsMore();
}

void TableReader::takeForValues(char byte, bool comma, bool lineEnd)
{
    switch (m_state) {
    case State::FieldStart:
        if (comma)
            endField(true);
        else if (lineEnd && m_afterComma)
            m_afterComma = false;
        else if (lineEnd)
            endField(false);
        else if (byte == '"')
            m_state = State::Quoted;
        else if (!isBlank(byte)) {
            m_field += byte;
            m_state = State::Unquoted;
        }
        break;
    case State::Unquoted:
        if (comma || lineEnd)
            endField(comma);
        else
            m_field += byte;
        break;
    case State::Quoted:
        if (lineEnd) {
            fail(ReadProblem::MissingQuote);
        } else if (byte == '"') {
            m_pending = byte;
            m_state = State::AfterQuote;
        } else {
            m_field += byte;
        }
        break;
    case State::AfterQuote:
        if (comma || lineEnd) {
            endField(comma);
        } else if (isBlank(byte)) {
            m_pending += byte;
        } else {
            // The quote was not the closing one: it belongs to the value.
            m_field += m_pending;
            m_pending.clear();
            if (byte == '"') {
                m_pending = byte;
            } else {
                m_field += byte;
                m_state = State::Quoted;
            }
        }
        break;
    case State::Done:
        break;
    }
    if (m_state != State::Done && !comma && !lineEnd && ++m_fieldBytes > MaxFieldBytes)
        fail(ReadProblem::ValueTooLong);
}

void TableReader::takeForLines(char byte, bool lineEnd)
{
    if (lineEnd)
        endLine();
    else if (m_line.size() == MaxFieldBytes) // longer than any line the writer writes
        m_lines = Lines::Impossible;
    else
        m_line += byte;
}

void TableReader::endLine()
{
    std::string_view line = m_line;
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') {
        m_lines = Lines::Impossible;
        return;
    }
    m_lineValues.emplace_back(line.substr(1, line.size() - 2));
    m_line.clear();
    if (m_lineValues.size() == std::size_t(ValueCount))
        m_lines = Lines::Complete;
}

void TableReader::endField(bool bySeparatorComma)
{
    Value value;
    if (m_state == State::Unquoted) {
        while (!m_field.empty() && isBlank(m_field.back()))
            m_field.pop_back();
        value.number = readPlainNumber(m_field);
    }
    value.text = fromWindows1252(m_field);
    m_result.values.push_back(std::move(value));
    m_field.clear();
    m_pending.clear();
    m_fieldBytes = 0;
    m_afterComma = bySeparatorComma;
    m_state = m_result.values.size() == std::size_t(ValueCount) ? State::Done : State::FieldStart;
}

void TableReader::fail(ReadProblem problem)
{
    m_result.problem = problem;
    m_state = State::Done;
}

ReadResult TableReader::finish()
{
    if (!m_startChecked)
        takeHeldBack();
    // The last line may end without a line end.
    if (m_lines == Lines::Possible && !m_line.empty())
        endLine();
    if (m_lines == Lines::Complete) {
        ReadResult lines;
        lines.bytesRead = m_result.bytesRead;
        lines.byteOrderMark = m_result.byteOrderMark;
        lines.moreValues = m_moreAfterLines;
        for (const std::string& bytes : m_lineValues)
            lines.values.push_back(Value{fromWindows1252(bytes), std::nullopt});
        m_state = State::Done;
        return lines;
    }
    if (m_state == State::Unquoted || m_state == State::AfterQuote)
        endField(false);
    else if (m_state == State::Quoted)
        fail(ReadProblem::MissingQuote);
    if (m_result.problem == ReadProblem::None && m_result.values.size() < std::size_t(ValueCount))
        m_result.problem = ReadProblem::TooFewValues;
    m_result.moreValues = m_result.problem == ReadProblem::None && m_moreAfterValues;
    m_state = State::Done;
    return m_result;
}

ReadResult readTable(std::string_view bytes)
{
    TableReader reader;
    reader.feed(bytes);
    return reader.finish();
}

std::string describeProblem(const ReadResult& result)
{
    const std::string valueNumber = std::to_string(result.values.size() + 1);
    switch (result.problem) {
    case ReadProblem::None:
        break;
    case ReadProblem::TooFewValues:
        return "Die Datei enthält nur " + std::to_string(result.values.size()) + " der " +
               std::to_string(ValueCount) + " Werte einer Tabelle.";
    case ReadProblem::NotText:
        return "Die Datei ist keine Textdatei: Byte " + std::to_string(result.bytesRead) +
               " ist ein Steuerzeichen, das in keiner Tabellendatei steht (etwa ein Nullbyte).";
    case ReadProblem::ValueTooLong:
        return "Wert " + valueNumber + " ist länger als " + std::to_string(MaxValueBytes) +
               " Zeichen; die Datei ist keine Tabellendatei.";
    case ReadProblem::MissingQuote:
        return "Bei Wert " + valueNumber + " fehlt das schließende Anführungszeichen.";
    }
    return std::string();
}

bool isRefusedName(std::string_view name)
{
    return !name.empty() && name.front() == '*';
}

std::string withExtension(std::string_view name)
{
    const std::string_view extension = Extension;
    const bool hasExtension =
        name.size() >= extension.size() && name.substr(name.size() - extension.size()) == extension;
    return hasExtension ? std::string(name) : std::string(name) + std::string(extension);
}

std::string joinPath(std::string_view folder, std::string_view name, char separator)
{
    return std::string(folder) + separator + std::string(name);
}

} // namespace tablefile
