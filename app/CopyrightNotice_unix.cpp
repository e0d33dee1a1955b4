#include "app/CopyrightNotice.h"

#include "app/Credits.h"

// An ELF program carries no version information: the text it would hold.
QString copyrightNotice()
{
    return QString::fromUtf8(credits::Copyright);
}
