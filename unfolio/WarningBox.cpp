#include "WarningBox.h"

#include "UnfolioNames.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace unfolio {

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool Named(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

void WarningBox::Show()
{
    QMessageBox box(QMessageBox::NoIcon, ToQString(kWarningCaption), ToQString(kWarningText),
                    QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

bool WarningBox::DisplayAvailable()
{
    const std::string_view platform = Named("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    if (platform.starts_with("offscreen") || platform.starts_with("minimal"))
        return false;
    return Named("DISPLAY") || Named("WAYLAND_DISPLAY");
}

bool WarningBox::ShowInChildProcess()
{
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        int argc = 1;
        char name[] = "unfolio";
        char* argv[] = {name, nullptr};
        {
            QApplication app(argc, argv);
            Show();
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace unfolio
