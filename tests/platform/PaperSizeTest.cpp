#include "TestTools.h"

#include "platform/PaperSize.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PaperSize, FollowsTheVariableThenTheConfigurationFileThenA4)
{
    QTemporaryDir folder;
    const QString conf = folder.filePath("papersize");
    ASSERT_TRUE(testtools::WriteFile(conf, "# the paper of this office\n\n  Legal  \n"));
    const QByteArray savedSize = qgetenv("PAPERSIZE"), savedConf = qgetenv("PAPERCONF");
    qunsetenv("PAPERSIZE");
    qunsetenv("PAPERCONF");

    EXPECT_EQ(PaperSize::System(conf).Name(), "legal");
    EXPECT_EQ(PaperSize::System(conf).HeightPoints(), 1008);
    EXPECT_EQ(PaperSize::System(folder.filePath("none")).Name(), "a4");
    qputenv("PAPERCONF", QFile::encodeName(conf));
    EXPECT_EQ(PaperSize::System(folder.filePath("none")).Name(), "legal");
    qputenv("PAPERSIZE", "letter");
    EXPECT_EQ(PaperSize::System(conf).Name(), "letter");
    EXPECT_EQ(PaperSize::System(conf).WidthPoints(), 612);
    qputenv("PAPERSIZE", "no-such-paper");
    EXPECT_EQ(PaperSize::System(conf).Name(), "a4");
    EXPECT_EQ(PaperSize::System(conf).WidthPoints(), 595.276);

    bool known = true;
    PaperSize::FromName("quarto-ish", &known);
    EXPECT_FALSE(known);
    savedSize.isNull() ? qunsetenv("PAPERSIZE") : qputenv("PAPERSIZE", savedSize);
    savedConf.isNull() ? qunsetenv("PAPERCONF") : qputenv("PAPERCONF", savedConf);
}
