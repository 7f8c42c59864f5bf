#include "OfficeBench.h"

#include "TestTools.h"

#include "converters/OpenPassword.h"

#include <QFileInfo>

#include <cstdio>

namespace {

// The platform is chosen before the application starts.
int& Offscreen(int& argc)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

} // namespace

OfficeBench::OfficeBench(int& argc, char** argv, const QString& script) : m_app(Offscreen(argc), argv)
{
    testtools::UsePrivateFolders();
    const testtools::ToolResult made =
        testtools::RunTool(QStringLiteral("/usr/bin/python3"), {script, m_corpus.path()}, 600000);
    if (made.exitCode != 0)
        m_failure =
            QFileInfo(script).fileName() + QStringLiteral(" failed: ") + QString::fromLocal8Bit(made.err);
    g_openPassword = kNoPassword;
    m_previous = SetMessageBoxService(&m_dispatcher);
}

OfficeBench::~OfficeBench()
{
    SetMessageBoxService(m_previous);
}

bool OfficeBench::Ready() const
{
    if (!m_failure.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(m_failure));
    return m_failure.isEmpty();
}

int OfficeBench::Finish() const
{
    std::printf("message boxes shown: %lld\n", qlonglong(m_boxes.Boxes().size()));
    return m_boxes.Boxes().isEmpty() ? 0 : 1;
}
