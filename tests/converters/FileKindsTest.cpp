#include "converters/FileKinds.h"
#include "platform/WordOpenFormat.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

using namespace wordopenformat;

// Every accepted extension, its kind and (for Word) its open format, as the
// user-facing help lists them. Written out here so that a line lost from or
// added to the table shows.
struct Expected
{
    const char* extension;
    FileKind kind;
    int format;
};

const Expected kExpected[] = {
    {"doc", FileKind::Word, kAuto},        {"docx", FileKind::Word, kAuto},
    {"dot", FileKind::Word, kAuto},        {"docm", FileKind::Word, kAuto},
    {"dotx", FileKind::Word, kAuto},       {"dotm", FileKind::Word, kAuto},
    {"odt", FileKind::Word, kAuto},        {"ott", FileKind::Word, kAuto},
    {"fodt", FileKind::Word, kAuto},       {"htm", FileKind::Word, kWebPage},
    {"tml", FileKind::Word, kWebPage},     {"html", FileKind::Word, kWebPage},
    {"xml", FileKind::Word, kXml},         {"txt", FileKind::Word, kText},
    {"rtf", FileKind::Word, kRtf},         {"xls", FileKind::Excel, kNone},
    {"xlsx", FileKind::Excel, kNone},      {"xlsm", FileKind::Excel, kNone},
    {"xltx", FileKind::Excel, kNone},      {"xlsb", FileKind::Excel, kNone},
    {"ods", FileKind::Excel, kNone},       {"ots", FileKind::Excel, kNone},
    {"fods", FileKind::Excel, kNone},      {"csv", FileKind::Excel, kNone},
    {"ppt", FileKind::PowerPoint, kNone},  {"pptx", FileKind::PowerPoint, kNone},
    {"pptm", FileKind::PowerPoint, kNone}, {"ppsx", FileKind::PowerPoint, kNone},
    {"pps", FileKind::PowerPoint, kNone},  {"potx", FileKind::PowerPoint, kNone},
    {"odp", FileKind::PowerPoint, kNone},  {"otp", FileKind::PowerPoint, kNone},
    {"fodp", FileKind::PowerPoint, kNone}, {"bmp", FileKind::Picture, kNone},
    {"jpg", FileKind::Picture, kNone},     {"jpeg", FileKind::Picture, kNone},
    {"png", FileKind::Picture, kNone},     {"gif", FileKind::Picture, kNone},
    {"tif", FileKind::Picture, kNone},     {"tiff", FileKind::Picture, kNone},
    {"webp", FileKind::Picture, kNone},
};

TEST(FileKinds, EachExtensionHasItsKindAndFormatInAnyCaseAndNothingElseIsTaken)
{
    QSet<QString> expected;
    for (const Expected& e : kExpected) {
        const QString extension = QString::fromLatin1(e.extension);
        expected << extension;
        for (const QString& name : {"/srv/in.v2/Report." + extension, "/srv/in/R." + extension.toUpper(),
                                    "/srv/in/r.tar." + extension.left(1).toUpper() + extension.mid(1)}) {
            ASSERT_NE(filekinds::Find(name), nullptr) << qPrintable(name);
            EXPECT_EQ(filekinds::KindOf(name), e.kind) << qPrintable(name);
            EXPECT_EQ(filekinds::WordOpenFormat(name), e.format) << qPrintable(name);
            EXPECT_EQ(filekinds::ExtensionOf(name), extension);
        }
    }
    const QStringList all = filekinds::Extensions();
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()), expected);
    EXPECT_EQ(all.size(), expected.size()) << "one line per extension";
    EXPECT_EQ(qsizetype(filekinds::Table().size()), all.size());

    // Whole extensions only: no prefix, no longer name, no folder's dot.
    for (const char* name : {"a.pdf", "a.do", "a.docxx", "a.tif.bak", "a.jp", "a.ppt~", "a.", "a", "doc",
                             "/srv/a.doc/readme", "/srv/x.tiff/", "a.xl", "a.htmlx", "a. doc", ""}) {
        EXPECT_EQ(filekinds::Find(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_EQ(filekinds::KindOf(QString::fromLatin1(name)), std::nullopt) << name;
        EXPECT_EQ(filekinds::WordOpenFormat(QString::fromLatin1(name)), kNone) << name;
    }
}

TEST(FileKinds, TheFilterTextKeepsTheOldEntriesInOrderAndGrowsThemByTheNewExtensions)
{
    EXPECT_EQ(filekinds::FilterText(),
              "All Supported "
              "Files(*.doc;*.docx;*.xls;*.ppt;*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.htm;*.tml;*.xml;*.txt;*.rtf;*."
              "html;*.dot;*.docm;*.dotx;*.dotm;*.odt;*.ott;*.fodt;*.xlsx;*.xlsm;*.xltx;*.xlsb;*.ods;*.ots;*."
              "fods;*.csv;*.pptx;*.pptm;*.ppsx;*.pps;*.potx;*.odp;*.otp;*.fodp;*.tif;*.tiff;*.webp)|*.doc;*."
              "docx;*.xls;*.ppt;*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.htm;*.tml;*.xml;*.txt;*.rtf;*.html;*.dot;*."
              "docm;*.dotx;*.dotm;*.odt;*.ott;*.fodt;*.xlsx;*.xlsm;*.xltx;*.xlsb;*.ods;*.ots;*.fods;*.csv;*."
              "pptx;*.pptm;*.ppsx;*.pps;*.potx;*.odp;*.otp;*.fodp;*.tif;*.tiff;*.webp|"
              "Microsoft Word Files(*.doc;*.docx;*.htm;*.tml;*.xml;*.txt;*.rtf;*.html;*.dot;*.docm;*.dotx;*."
              "dotm;*.odt;*.ott;*.fodt)|*.doc;*.docx;*.htm;*.tml;*.xml;*.txt;*.rtf;*.html;*.dot;*.docm;*."
              "dotx;*.dotm;*.odt;*.ott;*.fodt|"
              "Microsoft Excel Files(*.xls;*.xlsx;*.xlsm;*.xltx;*.xlsb;*.ods;*.ots;*.fods;*.csv)|*.xls;*."
              "xlsx;*.xlsm;*.xltx;*.xlsb;*.ods;*.ots;*.fods;*.csv|"
              "Microsoft PowerPoint Files(*.ppt;*.pptx;*.pptm;*.ppsx;*.pps;*.potx;*.odp;*.otp;*.fodp)|*.ppt;"
              "*.pptx;*.pptm;*.ppsx;*.pps;*.potx;*.odp;*.otp;*.fodp|"
              "Picture Files(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp)|*.bmp;*.jpg;*.jpeg;*.png;*."
              "gif;*.tif;*.tiff;*.webp|"
              "All Files(*.*)|*.*||");
}

} // namespace
