#include "TestTools.h"
#include "UnfolioRun.h"
#include "WarningBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using unfolio::WarningBox;

TEST(WarningBox, ShowsTheWarningWithOneOkButtonAndNoIcon)
{
    bool seen = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        timer.stop();
        seen = true;
        EXPECT_EQ(box->text(), "Please close all Word and Excel files ");
        EXPECT_EQ(box->windowTitle(), "Warning");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(box->parentWidget(), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    timer.start(20);
    WarningBox::Show();
    EXPECT_TRUE(seen);
}

TEST(UnfolioTool, WarnsOnTheTerminalWhenTheDisplayCannotBeReached)
{
    if (!unfoliotest::StrangeOfficeProcesses().empty())
        GTEST_SKIP() << "a Word or Excel process of someone else is running";
    ASSERT_FALSE(QFile::exists("/tmp/.X11-unix/X8731"));
    unfoliotest::ToolFolder folder;
    ASSERT_TRUE(folder.IsValid());
    folder.Environment().insert("DISPLAY", ":8731");
    folder.Environment().insert("QT_QPA_PLATFORM", "xcb");
    const unfoliotest::Run run = folder.RunTool();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray("Warning: Please close all Word and Excel files \n"));
    EXPECT_EQ(run.out, QByteArray());
}

namespace {

// Reads what the terminal shows until `wanted` appears or the time is up.
QByteArray ReadTerminalUntil(int master, const QByteArray& wanted, int timeoutMs)
{
    QByteArray shown;
    for (int waited = 0; waited < timeoutMs && !shown.contains(wanted); waited += 50) {
        pollfd fd{master, POLLIN, 0};
        if (poll(&fd, 1, 50) == 1) {
            char buffer[512];
            const ssize_t n = read(master, buffer, sizeof(buffer));
            if (n > 0)
                shown.append(buffer, n);
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                break;
        }
    }
    return shown;
}

bool Running(pid_t pid, int* status)
{
    return waitpid(pid, status, WNOHANG) == 0;
}

} // namespace

TEST(UnfolioTool, WaitsForEnterOnAnInteractiveTerminalAndPrintsNothingElse)
{
    if (!unfoliotest::StrangeOfficeProcesses().empty())
        GTEST_SKIP() << "a Word or Excel process of someone else is running";
    unfoliotest::ToolFolder folder;
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(folder.Place(STUB_FAILING, "BrevetWord.dll"));
    const QString trace = folder.TraceAddins();

    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    // Everything the child needs is prepared before fork.
    const QByteArray program = folder.Program().toUtf8();
    std::vector<QByteArray> variables;
    for (const QString& variable : folder.Environment().toStringList())
        variables.push_back(variable.toUtf8());
    std::vector<char*> envp;
    for (QByteArray& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.constData()), nullptr};

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setsid();
        ioctl(slave, TIOCSCTTY, 0);
        dup2(slave, 0);
        dup2(slave, 1);
        dup2(slave, 2);
        if (slave > 2)
            close(slave);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    close(slave);

    const QByteArray prompt = "Press Enter for OK.\r\n";
    const QByteArray shown = ReadTerminalUntil(master, prompt, 30000);
    EXPECT_EQ(shown, "Warning: Please close all Word and Excel files \r\n" + prompt);
    int status = 0;
    QThread::msleep(500);
    const bool waiting = Running(child, &status);
    EXPECT_TRUE(waiting) << "the tool did not wait for Enter";
    EXPECT_FALSE(QFile::exists(trace)) << "the tool went on before Enter";

    ASSERT_EQ(write(master, "\n", 1), 1);
    for (int waited = 0; waiting && Running(child, &status) && waited < 30000; waited += 50)
        QThread::msleep(50);
    if (waiting && Running(child, &status)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        ADD_FAILURE() << "the tool did not end after Enter";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(QFile::exists(trace)) << "the tool did not go on after Enter";
    // Past the echo of Enter the terminal shows nothing more.
    EXPECT_EQ(ReadTerminalUntil(master, "never", 200), QByteArray("\r\n"));
    close(master);
}

TEST(UnfolioTool, WithADisplayShowsTheBoxAndWaitsForOk)
{
    if (!testtools::HaveTool("Xvfb") || !testtools::HaveTool("xdotool"))
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    if (!unfoliotest::StrangeOfficeProcesses().empty())
        GTEST_SKIP() << "a Word or Excel process of someone else is running";

    // A private X server on a display number it picks itself.
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    ASSERT_TRUE(server.waitForStarted());
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(20000))
        number += server.readAllStandardOutput();
    ASSERT_TRUE(number.contains('\n')) << "Xvfb gave no display number";
    const QString display = ":" + QString::fromUtf8(number.trimmed());

    unfoliotest::ToolFolder folder;
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(folder.Place(STUB_FAILING, "BrevetWord.dll"));
    const QString trace = folder.TraceAddins();
    folder.Environment().insert("DISPLAY", display);
    folder.Environment().insert("QT_QPA_PLATFORM", "xcb");

    QProcess tool;
    tool.setProcessEnvironment(folder.Environment());
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.start(folder.Program());
    ASSERT_TRUE(tool.waitForStarted());

    const auto xdotool = [&](const QStringList& arguments) {
        return unfoliotest::RunProgram("xdotool", arguments, folder.Environment(), 30000);
    };
    const unfoliotest::Run found = xdotool({"search", "--sync", "--name", "^Warning$"});
    const QByteArray window = found.out.split('\n').value(0);
    EXPECT_FALSE(window.isEmpty()) << "no window titled Warning appeared";
    EXPECT_FALSE(tool.waitForFinished(500)) << "the tool did not wait for OK";
    EXPECT_FALSE(QFile::exists(trace)) << "the tool went on before OK";

    if (!window.isEmpty()) {
        xdotool({"windowfocus", "--sync", QString::fromUtf8(window)});
        xdotool({"key", "Return"});
    }
    const bool ended = tool.waitForFinished(30000);
    if (!ended) {
        tool.kill();
        tool.waitForFinished();
    }
    server.terminate();
    server.waitForFinished();
    ASSERT_TRUE(ended) << "OK did not end the wait";
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(trace)) << "the tool did not go on after OK";
    EXPECT_EQ(tool.readAllStandardError(), QByteArray()) << "the warning also went to the terminal";
    EXPECT_EQ(tool.readAllStandardOutput(), QByteArray());
}
