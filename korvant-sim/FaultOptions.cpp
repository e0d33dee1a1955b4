#include "korvant-sim/FaultOptions.h"

#include <stdexcept>

namespace sim {

long parseCount(const std::string& text)
{
    std::size_t end = 0;
    long count = -1;
    try {
        count = std::stol(text, &end);
    } catch (const std::logic_error&) {
    }
    if (text.empty() || end != text.size() || count < 0)
        throw std::invalid_argument("Anzahl nicht lesbar: " + text);
    return count;
}

InjectedFault parseFault(const std::string& text)
{
    const std::size_t colon = text.find(':');
    InjectedFault fault;
    try {
        std::size_t end = 0;
        const std::string dispid = text.substr(0, colon);
        fault.dispid = std::stoi(dispid, &end);
        if (end != dispid.size())
            throw std::invalid_argument(text);
    } catch (const std::logic_error&) {
        throw std::invalid_argument("Fehler-Angabe nicht lesbar: " + text);
    }
    for (std::size_t begin = colon; begin != std::string::npos;) {
        const std::size_t comma = text.find(',', begin + 1);
        const std::string number =
            text.substr(begin + 1, comma == std::string::npos ? comma : comma - begin - 1);
        long command = 0;
        try {
            command = parseCount(number);
        } catch (const std::invalid_argument&) {
        }
        if (command == 0)
            throw std::invalid_argument("Befehlsnummer nicht lesbar: " + number);
        fault.commands.insert(static_cast<std::size_t>(command));
        begin = comma;
    }
    return fault;
}

} // namespace sim
