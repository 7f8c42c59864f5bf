#include "app/ResourceStrings.h"

#include "app/Resource.h"

QString LoadResourceString(int id)
{
    switch (id) {
    case IDS_ABOUTBOX:
        return QStringLiteral("&About Foliant...");
    default:
        return {};
    }
}
