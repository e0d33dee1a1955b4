#include "files/gui/TableFileIo.h"

#include "files/core/ReleaseFile.h"
#include "files/core/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cmath>

namespace tablefileio {
namespace {

constexpr qint64 ReadChunkBytes = 64 * 1024;
// What the reader looks at past the table fits in one chunk more.
static_assert(ReadChunkBytes >= qint64(tablefile::LookAheadBytes));

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QString notAFileReason(const QFileInfo& info)
{
    return info.isDir() ? QStringLiteral("Unter diesem Namen steht ein Ordner, keine Datei.")
                        : QStringLiteral("Unter diesem Namen steht keine gewöhnliche Datei.");
}

QString caption(const tablefile::Value& value)
{
    if (!value.number)
        return fromUtf8(value.text);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // No exponent for ordinary sizes, 0.0001 up to below 10^15: 100000 stays 100000, 0.0001 is 0,0001.
    const double size = std::abs(*value.number);
    const bool ordinary = size == 0 || (size >= 1e-4 && size < 1e15);
    return locale.toString(*value.number, ordinary ? 'f' : 'g', QLocale::FloatingPointShortest);
}

std::array<std::string, tablefile::ValueCount> utf8Texts(const QStringList& values)
{
    std::array<std::string, tablefile::ValueCount> texts;
    for (int i = 0; i < tablefile::ValueCount && i < values.size(); ++i)
        texts[i] = values[i].toStdString();
    return texts;
}

// Whether the folder takes a new file, as the atomic save needs: a probe
// file is made and removed again. Permissions alone would not tell a
// read-only file system, nor what root may do.
bool takesNewFile(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".dalmerin-probe-XXXXXX")));
    return probe.open();
}

} // namespace

std::optional<QString> saveTargetProblem(const QString& path)
{
    const QFileInfo info(path);
    // No file system of Windows or Linux takes a longer name.
    constexpr int LongestName = 255;
    if (info.fileName().size() > LongestName)
        return QStringLiteral("Der Dateiname ist zu lang: er hat %1 Zeichen, höchstens %2 sind möglich.")
            .arg(info.fileName().size())
            .arg(LongestName);
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("Der Ordner ist nicht vorhanden.");
    if (info.exists() && !info.isFile())
        return notAFileReason(info);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("Die vorhandene Datei ist schreibgeschützt.");
    if (!takesNewFile(info.absolutePath()))
        return QStringLiteral("Im Ordner kann keine Datei angelegt werden (keine Schreibberechtigung oder "
                              "schreibgeschützter Datenträger).");
    return std::nullopt;
}

std::optional<QString> unstorableCharacterNotice(const QStringList& values)
{
    const std::optional<tablefile::Unstorable> found = tablefile::findUnstorable(utf8Texts(values));
    if (!found)
        return std::nullopt;
    const char32_t character = found->character;
    // An invisible character is named by its code.
    const QString shown =
        QChar::isPrint(character)
            ? QString::fromUcs4(&character, 1)
            : QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("Die Tabelle enthält ein Zeichen, das eine Tabellendatei nicht aufnehmen kann: "
                          "\u201E%1\u201C in %2, Bereich %3.")
        .arg(shown, fromUtf8(cells::columnCaption(found->cell.column)))
        .arg(found->cell.range);
}

std::optional<QString> writeTable(const QString& path, const QStringList& values)
{
    return writeAtomically(path, tablefile::encodeTable(utf8Texts(values)));
}

std::optional<QString> writeAtomically(const QString& path, const std::string& bytes)
{
    // Unbuffered, so a short write (a full disk) shows in write()'s result: a
    // buffered QSaveFile can commit a cut-off file when its final flush falls short.
    const bool replaces = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QStringLiteral(
            "Die Datei kann dort nicht angelegt werden: keine Schreibberechtigung im Ordner "
            "oder ein unzulässiger Dateiname.");
    const QString unchanged = QStringLiteral(" Eine bisherige Datei dieses Namens ist unverändert.");
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        return QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden (Datenträger voll oder "
                              "Schreibfehler).") +
               unchanged;
    }
    if (!file.commit()) {
        if (replaces)
            return QStringLiteral("Die neue Datei konnte nicht an die Stelle der bisherigen treten.") +
                   unchanged;
        // Written in full under a temporary name, the file could not be given its own.
        return QStringLiteral(
            "Die Datei kann unter diesem Namen nicht angelegt werden: das Dateisystem nimmt "
            "den Namen nicht an (zu lang oder mit Zeichen, die es nicht zulässt).");
    }
    return std::nullopt;
}

LoadResult loadTable(const QString& path)
{
    LoadResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = LoadResult::Status::NotFound;
        return result;
    }
    if (!info.isFile()) {
        result.reason = notAFileReason(info);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = QStringLiteral("Die Datei kann nicht geöffnet werden (keine Leseberechtigung).");
        return result;
    }
    tablefile::TableReader reader;
    QByteArray chunk;
    bool wantsMore = true;
    while (wantsMore) {
        chunk = file.read(ReadChunkBytes);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError) {
            result.reason = QStringLiteral("Die Datei kann nicht gelesen werden.");
            return result;
        }
        if (chunk.isEmpty())
            break;
        wantsMore = reader.feed(std::string_view(chunk.constData(), std::size_t(chunk.size())));
    }
    const tablefile::ReadResult read = reader.finish();
    if (read.problem != tablefile::ReadProblem::None) {
        result.reason = fromUtf8(tablefile::describeProblem(read));
        return result;
    }
    for (const tablefile::Value& value : read.values)
        result.values.append(caption(value));
    result.byteOrderMark = read.byteOrderMark;
    result.moreValues = read.moreValues;
    result.status = LoadResult::Status::Loaded;
    return result;
}

QString releasePath(const QString& tablePath)
{
    return QString::fromStdString(releasefile::pathFor(tablePath.toStdString()));
}

TableRelease loadRelease(const QString& tablePath)
{
    TableRelease release;
    const QString path = releasePath(tablePath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return release;
    release.state = TableRelease::State::Unreadable;
    QFile file(path);
    if (!info.isFile()) {
        release.problem = notAFileReason(info).toStdString();
        return release;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        release.problem = "Die Datei kann nicht geöffnet werden (keine Leseberechtigung).";
        return release;
    }
    // One byte more than a record may hold tells a longer file from a full one.
    const QByteArray bytes = file.read(qint64(releasefile::LongestRecord) + 1);
    if (file.error() != QFileDevice::NoError) {
        release.problem = "Die Datei kann nicht gelesen werden.";
        return release;
    }
    auto decoded = releasefile::decode(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (auto* problem = std::get_if<std::string>(&decoded)) {
        release.problem = *problem;
        return release;
    }
    release.state = TableRelease::State::Read;
    release.record = std::get<ReleaseRecord>(std::move(decoded));
    return release;
}

std::optional<QString> deleteTable(const QString& path)
{
    QFile file(path);
    if (file.remove())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    if (info.isDir())
        return notAFileReason(info);
    return QStringLiteral(
        "Die Datei ist schreibgeschützt, in Gebrauch oder ihr Ordner ist nicht zugänglich.");
}

QString failureMessage(const QString& what, const QString& path, const QString& reason)
{
    return what + QStringLiteral(":\n") + path + QLatin1Char('\n') + reason;
}

} // namespace tablefileio
