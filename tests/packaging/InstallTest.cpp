// The program as it is installed: one program folder, a launcher on the
// path, a valid menu entry and the icon, and a Debian package that names
// what the program needs at run time.
#include "TestTools.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testtools::RunTool;

namespace {

const QString kBuild = QStringLiteral(FOLIANT_BINARY_DIR);

TEST(Install, PutsEveryPartIntoOneProgramFolderWithLauncherEntryAndIcons)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const auto installed = RunTool("cmake", {"--install", kBuild, "--prefix", prefix.path()}, 300000);
    ASSERT_EQ(installed.exitCode, 0) << installed.err.constData();

    const QString programDir = prefix.filePath("lib/foliant");
    for (const char* name : {"foliant", "foliant-convert", "officehost", "unfolio"}) {
        const QFileInfo program(programDir + "/" + name);
        EXPECT_TRUE(program.isFile() && program.isExecutable()) << name;
    }
    for (const char* name : {"BrevetWord.dll", "BrevetExcel.dll", "Foliant 3.0 - Help.html"})
        EXPECT_TRUE(QFileInfo(programDir + "/" + name).isFile()) << name;

    // The launcher resolves into the program folder, so the program finds
    // its office host and help page beside itself.
    for (const char* name : {"foliant", "foliant-convert"}) {
        const QFileInfo launcher(prefix.filePath(QStringLiteral("bin/%1").arg(name)));
        ASSERT_TRUE(launcher.isSymLink()) << name;
        EXPECT_EQ(launcher.canonicalFilePath(), QFileInfo(programDir + "/" + name).canonicalFilePath());
    }
    // The command line's manual page, readable by man.
    const QString manual = prefix.filePath("share/man/man1/foliant-convert.1");
    ASSERT_TRUE(QFileInfo(manual).isFile());
    if (testtools::HaveTool("man")) {
        const auto page = RunTool("man", {"-l", manual}, 60000);
        EXPECT_EQ(page.exitCode, 0) << page.err.constData();
        EXPECT_TRUE(page.out.contains("--jobs")) << page.out.constData();
    }
    EXPECT_TRUE(testtools::ReadFile(manual).contains(".TH FOLIANT-CONVERT 1"));
    // The installed command runs from the link and answers --help.
    const auto help = RunTool(prefix.filePath("bin/foliant-convert"), {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err.constData();
    EXPECT_TRUE(help.out.contains("--report")) << help.out.constData();

    const QString entry = prefix.filePath("share/applications/foliant.desktop");
    ASSERT_TRUE(QFileInfo(entry).isFile());
    if (testtools::HaveTool("desktop-file-validate")) {
        const auto valid = RunTool("desktop-file-validate", {entry});
        EXPECT_EQ(valid.exitCode, 0) << valid.out.constData() << valid.err.constData();
        EXPECT_TRUE(valid.out.trimmed().isEmpty()) << valid.out.constData(); // no warnings either
    } else {
        ADD_FAILURE() << "desktop-file-validate is missing (desktop-file-utils)";
    }
    const QByteArray text = testtools::ReadFile(entry);
    EXPECT_TRUE(text.contains("\nCategories=Office;")) << text.constData();
    EXPECT_FALSE(text.contains("MimeType")); // the program takes no files on its command line

    for (int size : {32, 48, 128}) {
        const QString icon =
            prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/foliant.png").arg(size));
        const QByteArray png = testtools::ReadFile(icon);
        ASSERT_GT(png.size(), 24) << icon.toStdString();
        // The PNG header's width and height are the folder's size.
        const auto be32 = [&](int at) {
            return (uchar(png[at]) << 24) | (uchar(png[at + 1]) << 16) | (uchar(png[at + 2]) << 8) |
                   uchar(png[at + 3]);
        };
        EXPECT_EQ(be32(16), size);
        EXPECT_EQ(be32(20), size);
    }
}

TEST(Install, DebianPackageHoldsTheProgramAndNamesItsRunTimePackages)
{
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const auto made = RunTool("cpack", {"--config", kBuild + "/CPackConfig.cmake", "-B", out.path()}, 600000);
    ASSERT_EQ(made.exitCode, 0) << made.out.constData() << made.err.constData();
    const QStringList debs = QDir(out.path()).entryList({"foliant_*.deb"});
    ASSERT_EQ(debs.size(), 1) << made.out.constData();
    const QString deb = out.filePath(debs.first());

    const auto info = RunTool("dpkg-deb", {"--field", deb, "Depends"});
    ASSERT_EQ(info.exitCode, 0);
    for (const char* package :
         {"ghostscript", "libreoffice-writer", "libreoffice-calc", "libreoffice-impress", "libqt6widgets6",
          "qt6-qpa-plugins", "qt6-image-formats-plugins", "libcups2", "tesseract-ocr-eng",
          "tesseract-ocr-osd", "fonts-crosextra-carlito", "fonts-crosextra-caladea"})
        EXPECT_TRUE(info.out.contains(package)) << package << " missing from: " << info.out.constData();
    // Text recognition in other languages is offered, not imposed.
    EXPECT_TRUE(RunTool("dpkg-deb", {"--field", deb, "Suggests"}).out.contains("tesseract-ocr-all"));
    const auto recommended = RunTool("dpkg-deb", {"--field", deb, "Recommends"});
    ASSERT_EQ(recommended.exitCode, 0);
    for (const char* package : {"fonts-noto-core", "fonts-noto-cjk"})
        EXPECT_TRUE(recommended.out.contains(package))
            << package << " missing from: " << recommended.out.constData();

    const auto contents = RunTool("dpkg-deb", {"--contents", deb});
    ASSERT_EQ(contents.exitCode, 0);
    for (const char* path :
         {"./usr/lib/foliant/foliant", "./usr/lib/foliant/officehost", "./usr/lib/foliant/unfolio",
          "./usr/bin/foliant -> ../lib/foliant/foliant", "./usr/lib/foliant/foliant-convert",
          "./usr/bin/foliant-convert -> ../lib/foliant/foliant-convert",
          "./usr/share/man/man1/foliant-convert.1", "./usr/share/applications/foliant.desktop",
          "./usr/share/icons/hicolor/48x48/apps/foliant.png"})
        EXPECT_TRUE(contents.out.contains(path)) << path << " missing from:\n" << contents.out.constData();
}

} // namespace
