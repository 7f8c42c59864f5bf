#include "app/DialogTemplates.h"
#include "converters/FileKinds.h"
#include "tests/support/TestTools.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// The help page as the build put it beside the program, as text a reader sees.
QString InstalledHelpText()
{
    const QString path = QDir(testtools::ProgramDir()).filePath(QStringLiteral("Foliant 3.0 - Help.html"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QTextDocument page;
    page.setHtml(QString::fromUtf8(file.readAll()));
    return page.toPlainText().simplified();
}

TEST(HelpPageTest, EveryOptionOfTheThreePagesIsExplained)
{
    const QString help = InstalledHelpText();
    using namespace dialogtemplates;
    for (const DialogTemplate* page : {&kSecurityTemplate, &kAdvancedTemplate, &kDescriptionTemplate})
        for (const DialogItem& item : page->items) {
            const QString text = item.text.toString();
            if (text.isEmpty())
                continue;
            SCOPED_TRACE(text.toStdString());
            EXPECT_TRUE(help.contains(text));
        }
}

TEST(HelpPageTest, NamesTheTypesAndTheConversionPageControls)
{
    const QString help = InstalledHelpText();
    // Every kind of file the program takes.
    for (const QString& extension : filekinds::Extensions())
        EXPECT_TRUE(help.contains(QRegularExpression(QStringLiteral("\\.%1\\b").arg(extension))))
            << extension.toStdString();
    for (const char* word : {"Add File(s)", "Remove All", "Browse", "Convert", "Stop",
                             "Display Advanced Options.", "already exists", "Password Required!", "tmp.ps",
                             "Password is wrong.", "Combine into one PDF", "V1.6", "V1.7", "PDF/A-2b"}) {
        SCOPED_TRACE(word);
        EXPECT_TRUE(help.contains(QLatin1String(word)));
    }
}

} // namespace
