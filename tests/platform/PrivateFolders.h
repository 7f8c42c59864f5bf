#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Each test gets a runtime folder and a home (its cache folder under it) of
// its own, so the scratch folder and the lock are made anew every time.
class PrivateFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid() && home.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    }
    QTemporaryDir runtime;
    QTemporaryDir home;
};
