#pragma once

#include "table/core/TableDocument.h"

#include <QCryptographicHash>

// The table's "Prüfsumme" as the program makes it, for the transfer's ports
// in tests and benchmarks, which have Qt's core but no window.
inline TableDocument::Fingerprinting qtFingerprinting()
{
    return [](const std::string& text) {
        return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256)
            .toHex()
            .toUpper()
            .toStdString();
    };
}
