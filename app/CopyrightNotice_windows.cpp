#include "app/CopyrightNotice.h"

#include "app/Credits.h"

#include <windows.h>

#include <vector>

namespace {

// LegalCopyright of the running executable's version resource, in the first
// language it lists; empty when there is none.
QString legalCopyrightOfThisProgram()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return {};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return {};
    std::vector<char> info(size);
    if (!GetFileVersionInfoW(path, 0, size, info.data()))
        return {};

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT translationsSize = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &translationsSize) ||
        translationsSize < sizeof(Translation))
        return {};
    const QString key = QStringLiteral("\\StringFileInfo\\%1%2\\LegalCopyright")
                            .arg(translations->language, 4, 16, QLatin1Char('0'))
                            .arg(translations->codePage, 4, 16, QLatin1Char('0'));
    wchar_t* text = nullptr;
    UINT textLength = 0;
    if (!VerQueryValueW(info.data(), reinterpret_cast<const wchar_t*>(key.utf16()), reinterpret_cast<void**>(&text),
                        &textLength) ||
        textLength == 0)
        return {};
    // The length counts the closing zero.
    return QString::fromWCharArray(text, static_cast<int>(textLength) - 1);
}

} // namespace

QString copyrightNotice()
{
    const QString stored = legalCopyrightOfThisProgram();
    return stored.isEmpty() ? QString::fromUtf8(credits::Copyright) : stored;
}
