#include "converters/FileResult.h"

QString FileResult::StatusName(Status status)
{
    switch (status) {
    case Status::Made:
        return QStringLiteral("made");
    case Status::Skipped:
        return QStringLiteral("skipped");
    case Status::Failed:
        return QStringLiteral("failed");
    case Status::Stopped:
        return QStringLiteral("stopped");
    case Status::Pending:
        break;
    }
    return QStringLiteral("pending");
}
