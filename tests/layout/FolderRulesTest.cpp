#include "IncludeRules.h"

#include <gtest/gtest.h>

using includerules::Check;

namespace {

std::vector<std::string> Headers(const std::vector<includerules::Violation>& found)
{
    std::vector<std::string> headers;
    for (const auto& v : found)
        headers.push_back(v.file + " -> " + v.include);
    return headers;
}

TEST(FolderRules, TheSourceTreeKeepsEveryFolderInItsRoom)
{
    int filesRead = 0;
    const auto found = includerules::CheckTree(FOLIANT_SOURCE_DIR, &filesRead);
    EXPECT_GT(filesRead, 100); // the whole tree was read, not an empty folder
    EXPECT_EQ(Headers(found), std::vector<std::string>{});
}

TEST(FolderRules, IncludesAgainstTheRuleAreFound)
{
    // Converters never reach the page's folder, not even by a relative path.
    EXPECT_EQ(Headers(Check("converters/ConvertWord.cpp", "#include \"convert/CConvertDlg.h\"\n")),
              std::vector<std::string>{"converters/ConvertWord.cpp -> convert/CConvertDlg.h"});
    EXPECT_EQ(Headers(Check("converters/ConvertWord.cpp", "  #  include \"../convert/CConvertDlg.h\"\n")),
              std::vector<std::string>{"converters/ConvertWord.cpp -> convert/CConvertDlg.h"});
    // The stand-ins depend on no other folder of ours; nothing calls up into app/.
    EXPECT_EQ(Check("platform/widgets/X.cpp", "#include \"pdf/ConversionSettings.h\"\n").size(), 1u);
    EXPECT_EQ(Check("convert/CConvertDlg.cpp", "#include \"app/CFoliantDlg.h\"\n").size(), 1u);
    EXPECT_EQ(Check("pdf/GhostscriptRunner.cpp", "#include \"options/CAdvancedDlg.h\"\n").size(), 1u);
    EXPECT_EQ(Check("officehost/Word.cpp", "#include \"converters/Converters.h\"\n").size(), 1u);
    EXPECT_EQ(Check("unfolio/main.cpp", "#include \"platform/Variant.h\"\n").size(), 1u);
    EXPECT_EQ(Check("controls/Button.cpp", "#include \"tests/support/TestTools.h\"\n").size(), 1u);
}

TEST(FolderRules, AllowedIncludesPass)
{
    const std::string shared = "#include \"app/Resource.h\"\n#include \"app/DialogTemplates.h\"\n";
    EXPECT_TRUE(Check("platform/widgets/DialogBuilder.cpp", shared).empty());
    EXPECT_TRUE(Check("convert/CConvertDlg.cpp", "#include \"converters/ConversionPage.h\"\n"
                                                 "#include \"options/OptionTabs.h\"\n"
                                                 "#include \"CListBoxEx.h\"\n#include <QWidget>\n")
                    .empty());
    EXPECT_TRUE(Check("app/CFoliantDlg.cpp", "#include \"convert/CConvertDlg.h\"\n").empty());
    EXPECT_TRUE(Check("tests/convert/PageTest.cpp", "#include \"app/CFoliantDlg.h\"\n").empty());
    // Text that is not an include line names nothing.
    EXPECT_TRUE(Check("pdf/X.cpp",
                      "// see \"convert/CConvertDlg.h\"\nconst char* s = \"#include \\\"app/x.h\\\"\";\n")
                    .empty());
}

} // namespace
