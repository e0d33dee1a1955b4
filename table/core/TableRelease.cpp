#include "table/core/TableRelease.h"

namespace release {

std::string shownDate(const std::string& isoTime)
{
    const auto digits = [&isoTime](std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i)
            if (i >= isoTime.size() || isoTime[i] < '0' || isoTime[i] > '9')
                return false;
        return true;
    };
    if (!digits(0, 4) || !digits(5, 2) || !digits(8, 2) || isoTime[4] != '-' || isoTime[7] != '-')
        return isoTime;
    return isoTime.substr(8, 2) + "." + isoTime.substr(5, 2) + "." + isoTime.substr(0, 4);
}

bool matches(const TableRelease& release, const std::optional<std::string>& fingerprint)
{
    return release.state == TableRelease::State::Read && fingerprint &&
           release.record.fingerprint == *fingerprint;
}

std::string statusText(const TableRelease& release, const std::optional<std::string>& fingerprint)
{
    if (!matches(release, fingerprint))
        return "nicht freigegeben";
    const ReleaseRecord& record = release.record;
    return "Freigegeben: Stand " + record.version + ", " + record.releasedBy + ", " +
           shownDate(record.releasedAt);
}

std::string groupedDigits(const std::string& fingerprint, std::size_t digits)
{
    std::string text;
    for (std::size_t i = 0; i < digits && i < fingerprint.size(); i += 4)
        text += (text.empty() ? "" : " ") + fingerprint.substr(i, 4);
    return text;
}

std::string fingerprintLine(const std::optional<std::string>& fingerprint, std::size_t digits)
{
    if (!fingerprint)
        return "keine Prüfsumme";
    return "Prüfsumme " + groupedDigits(*fingerprint, digits);
}

std::optional<tablecheck::Finding> finding(const TableRelease& release,
                                           const std::optional<std::string>& fingerprint)
{
    switch (release.state) {
    case TableRelease::State::None:
        return std::nullopt;
    case TableRelease::State::Unreadable:
        return tablecheck::Finding{tablecheck::Kind::Error, 0, std::nullopt,
                                   "Die Freigabe der Tabelle kann nicht gelesen werden: " + release.problem};
    case TableRelease::State::Read:
        break;
    }
    if (matches(release, fingerprint))
        return std::nullopt;
    return tablecheck::Finding{tablecheck::Kind::Error, 0, std::nullopt,
                               "Die Tabelle wurde nach ihrer Freigabe (Stand " + release.record.version +
                                   " vom " + shownDate(release.record.releasedAt) + ") geändert."};
}

} // namespace release
