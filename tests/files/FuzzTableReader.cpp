// libFuzzer target: the table file reader takes any bytes without crashing,
// never reads past the 71st value, and reads the same in pieces as whole.
#include "TableFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tablefile::ReadResult whole = tablefile::readTable(bytes);
    check(whole.values.size() <= std::size_t(tablefile::ValueCount));
    check(whole.bytesRead <= size);
    check((whole.problem == tablefile::ReadProblem::None) ==
          (whole.values.size() == std::size_t(tablefile::ValueCount)));
    for (const tablefile::Value& value : whole.values)
        check(value.text.size() <= 3 * tablefile::MaxValueBytes);

    // Nothing after the bytes taken may matter: the file cut there reads the same.
    const tablefile::ReadResult cut = tablefile::readTable(bytes.substr(0, whole.bytesRead));
    check(cut.problem == whole.problem && cut.values.size() == whole.values.size());

    // Pieces of three bytes, as a file read in chunks.
    tablefile::TableReader reader;
    for (std::size_t i = 0; i < size && reader.feed(bytes.substr(i, 3)); i += 3) {
    }
    const tablefile::ReadResult pieces = reader.finish();
    check(pieces.problem == whole.problem && pieces.bytesRead == whole.bytesRead);
    for (std::size_t i = 0; i < whole.values.size(); ++i)
        check(pieces.values[i].text == whole.values[i].text);
    return 0;
}
