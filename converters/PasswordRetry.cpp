#include "converters/PasswordRetry.h"

#include "converters/ConversionPage.h"
#include "converters/OpenPassword.h"

QString FileNameOf(const QString& sourcePath)
{
    return sourcePath.section(QLatin1Char('/'), -1);
}

void ConvertWithPasswordRetries(ConversionPage& page, const QString& sourcePath,
                                const std::function<bool()>& attempt, const std::function<bool()>& askFirst)
{
    bool prompted = false;
    while (!attempt()) {
        // A stopped run asks nothing more.
        if (page.StopRequested()) {
            page.SetConverted(0);
            break;
        }
        if (askFirst && !askFirst()) {
            page.SetConverted(0);
            break;
        }
        QString typed;
        if (!page.EnterPassword(FileNameOf(sourcePath), &typed)) {
            page.SetConverted(0);
            break;
        }
        g_openPassword = typed.isEmpty() ? kNoPassword : typed;
        prompted = true;
    }
    // No password outlives the file it was typed for.
    if (prompted)
        g_openPassword = kNoPassword;
}
