#include "controls/Artwork.h"
#include "app/Resource.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(ArtworkTest, EveryBitmapIsBuiltIn)
{
    for (int id : {IDB_HEADER, IDB_PROGRESS_BACK, IDB_PROGRESS_FORE, IDB_FINISH, IDB_ABOUT_HEADER}) {
        SCOPED_TRACE(id);
        const QPixmap bitmap = LoadBitmapResource(id);
        ASSERT_FALSE(bitmap.isNull());
        // Not a blank: a picture has more than one colour.
        const QImage image = bitmap.toImage();
        EXPECT_NE(image.pixel(1, 1), image.pixel(image.width() / 2, image.height() / 2));
    }
    EXPECT_TRUE(LoadBitmapResource(9999).isNull());
    // The two bars are the same size, so a share of one is the same share of the other.
    EXPECT_EQ(LoadBitmapResource(IDB_PROGRESS_BACK).size(), LoadBitmapResource(IDB_PROGRESS_FORE).size());
}

TEST(ArtworkTest, IconsComeInTheSizesTheWindowsAskFor)
{
    for (int id : {IDR_MAINFRAME, IDI_ABOUT, IDI_HELP, IDI_WEBSITE}) {
        SCOPED_TRACE(id);
        const QIcon icon = LoadIconResource(id);
        ASSERT_FALSE(icon.isNull());
        // The header buttons load their icons at 32 x 32, drawn at that size.
        EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
        // Transparent around the sign, so the header shows through.
        EXPECT_EQ(qAlpha(icon.pixmap(32, 32).toImage().pixel(0, 0)), 0);
    }
    EXPECT_TRUE(LoadIconResource(IDR_MAINFRAME).availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(LoadIconResource(9999).isNull());
}

} // namespace
