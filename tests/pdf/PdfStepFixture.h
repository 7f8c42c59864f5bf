#pragma once

#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// What every test of the real PDF step starts from: Ghostscript present, a
// private runtime folder (which keeps each test's scratch files apart) and an
// output folder of its own.
class PdfStepFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testtools::HaveTool(QStringLiteral("gs")));
        ASSERT_TRUE(runtime.isValid() && output.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }

    QStringList OutputFolderEntries() const
    {
        return QDir(output.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir runtime;
    QTemporaryDir output;
};
