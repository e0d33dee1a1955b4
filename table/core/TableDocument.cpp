#include "table/core/TableDocument.h"

#include "table/core/TableFingerprint.h"

// At start every shown caption but range 1's fixed lower bound is a single
// blank, which "Bearbeiten" passes on as a typed value like any other.
TableDocument::TableDocument()
{
    m_shown.fill(" ");
    m_shown[0] = cells::FirstLowerBound;
}

void TableDocument::setPath(std::optional<std::string> path)
{
    if (m_path == path)
        return;
    m_path = std::move(path);
    changed();
}

void TableDocument::setTyped(std::size_t valueIndex, std::string text)
{
    std::string& value = m_typed.at(valueIndex);
    if (m_mode != Mode::Edit || value == text)
        return;
    value = std::move(text);
    changed();
}

void TableDocument::startNew()
{
    m_mode = Mode::Edit;
    m_typed.fill(std::string());
    setEditableCaptions(Values{});
}

void TableDocument::editShown()
{
    m_mode = Mode::Edit;
    for (std::size_t i = 0; i < m_typed.size(); ++i)
        m_typed[i] = m_shown[i + 1];
    setEditableCaptions(Values{});
}

void TableDocument::leaveEditMode(const Values& asStored, TableRelease release)
{
    m_mode = Mode::Display;
    m_release = std::move(release);
    setEditableCaptions(asStored);
}

void TableDocument::showFileValues(const Values& values, const tablecheck::FileNotes& notes,
                                   TableRelease release)
{
    setEditableCaptions(values);
    m_fileNotes = notes;
    m_release = std::move(release);
}

void TableDocument::setRelease(TableRelease release)
{
    m_release = std::move(release);
    changed();
}

void TableDocument::clearAfterDelete()
{
    m_path.reset();
    m_release = {};
    setEditableCaptions(Values{});
}

// Range 1's lower bound keeps its "0"; the file's notes belong to the values
// they came with and are forgotten with them.
void TableDocument::setEditableCaptions(const Values& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        m_shown[i + 1] = values[i];
    m_fileNotes = {};
    changed();
}

std::vector<std::string> TableDocument::cells() const
{
    if (m_mode == Mode::Display)
        return {m_shown.begin(), m_shown.end()};
    std::vector<std::string> cells{cells::FirstLowerBound};
    cells.insert(cells.end(), m_typed.begin(), m_typed.end());
    return cells;
}

TableNumbers TableDocument::numbers(const LocaleNumberReading& locale) const
{
    return readTableNumbers(cells(), locale);
}

std::vector<tablecheck::Finding> TableDocument::check(const tablecheck::Locale& locale) const
{
    return tablecheck::check(cells(), locale, m_mode == Mode::Display ? m_fileNotes : tablecheck::FileNotes{});
}

std::optional<std::string> TableDocument::fingerprintText(const LocaleNumberReading& locale) const
{
    return ::fingerprintText(cells(), locale);
}

std::optional<std::string> TableDocument::fingerprint(const LocaleNumberReading& locale,
                                                      const Fingerprinting& fingerprinting) const
{
    const std::optional<std::string> text = fingerprintText(locale);
    if (!text)
        return std::nullopt;
    return fingerprinting(*text);
}

// The record belongs to the file; while the values are being edited it says nothing about them.
std::vector<tablecheck::Finding> TableDocument::checkWithRelease(const tablecheck::Locale& locale,
                                                                 const std::optional<std::string>& fingerprint) const
{
    std::vector<tablecheck::Finding> findings = check(locale);
    if (m_mode == Mode::Display)
        if (auto finding = release::finding(m_release, fingerprint))
            findings.insert(findings.begin(), std::move(*finding));
    return findings;
}
