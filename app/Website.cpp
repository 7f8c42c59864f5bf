#include "app/Website.h"

QString WebsiteAddress()
{
    return QStringLiteral(FOLIANT_WEBSITE);
}
