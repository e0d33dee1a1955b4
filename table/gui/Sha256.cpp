#include "table/gui/Sha256.h"

#include <QByteArray>
#include <QCryptographicHash>

std::string sha256Hex(const std::string& bytes)
{
    const QByteArray data(bytes.data(), qsizetype(bytes.size()));
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toUpper().toStdString();
}
