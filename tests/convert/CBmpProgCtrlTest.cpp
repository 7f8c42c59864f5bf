#include "convert/CBmpProgCtrl.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRgb kTrack = qRgb(224, 224, 224);
const QRgb kLeftThird = qRgb(200, 0, 0);
const QRgb kRest = qRgb(0, 0, 200);

// A filled bar whose left third is red and the rest blue, so the tests can
// tell which part of it was drawn.
QPixmap TestFilledBar()
{
    QImage image(90, 6, QImage::Format_RGB32);
    image.fill(kRest);
    QPainter(&image).fillRect(0, 0, 30, 6, QColor(kLeftThird));
    return QPixmap::fromImage(image);
}

QPixmap Solid(QRgb colour)
{
    QImage image(20, 6, QImage::Format_RGB32);
    image.fill(colour);
    return QPixmap::fromImage(image);
}

// The colours of the control's middle row, one a column.
QList<QRgb> Row(CBmpProgCtrl& bar)
{
    const QImage image = bar.grab().toImage();
    QList<QRgb> row;
    for (int x = 0; x < image.width(); ++x)
        row.append(image.pixel(x, image.height() / 2) & 0xFFFFFF);
    return row;
}

class BmpProgCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bar.resize(100, 12);
        bar.m_bmpBack = Solid(kTrack);
        bar.m_bmpFore = TestFilledBar();
    }

    // How many columns from the left are not the empty track.
    int FilledColumns()
    {
        const QList<QRgb> row = Row(bar);
        int filled = 0;
        while (filled < row.size() && row[filled] != (kTrack & 0xFFFFFF))
            ++filled;
        for (int x = filled; x < row.size(); ++x)
            EXPECT_EQ(row[x], kTrack & 0xFFFFFF) << "column " << x << " after the filled part";
        return filled;
    }

    CBmpProgCtrl bar;
};

TEST_F(BmpProgCtrlTest, UndrawnBarShowsOnlyTheEmptyBarWhateverThePosition)
{
    EXPECT_EQ(bar.m_nPos, 1);
    EXPECT_EQ(bar.m_nRange, 1);
    EXPECT_EQ(bar.m_bDrawn, 0);
    EXPECT_EQ(FilledColumns(), 0) << "a fresh control";
    bar.m_nPos = 3;
    bar.m_nRange = 3;
    EXPECT_EQ(FilledColumns(), 0) << "position = range but drawn flag 0";
}

TEST_F(BmpProgCtrlTest, FilledPartIsTheTruncatedShareOfTheControl)
{
    bar.m_bDrawn = 1;
    const struct
    {
        int pos, range, width, filled;
    } cases[] = {
        {1, 3, 100, 33},                                        // 33.33 truncated
        {2, 3, 100, 66},                                        // 66.67 truncated, not rounded
        {1, 3, 466, 155},                                       // the page's bar width
        {3, 3, 100, 100},                                       // all of it
        {100, 100, 311, 311}, {0, 5, 100, 0}, {4, 3, 100, 100}, // past the range: still only the control
        {1, 0, 100, 0},                                         // no range: nothing, and no fault
        {-2, 3, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pos << " of " << c.range << " on " << c.width);
        bar.m_nPos = c.pos;
        bar.m_nRange = c.range;
        bar.resize(c.width, 12);
        EXPECT_EQ(FilledColumns(), c.filled);
    }
}

TEST_F(BmpProgCtrlTest, FilledPartShowsTheSameShareOfTheFilledBitmap)
{
    bar.m_bDrawn = 1;
    bar.m_nPos = 1;
    bar.m_nRange = 3;
    QList<QRgb> row = Row(bar);
    for (int x = 0; x < 33; ++x)
        ASSERT_EQ(row[x], kLeftThird & 0xFFFFFF) << "column " << x << ": only the left third of the bitmap";

    bar.m_nPos = 3;
    row = Row(bar);
    EXPECT_EQ(row.first(), kLeftThird & 0xFFFFFF);
    EXPECT_EQ(row.last(), kRest & 0xFFFFFF) << "the whole bitmap, stretched";
    EXPECT_EQ(row[row.size() / 2], kRest & 0xFFFFFF);
}

TEST(BmpProgCtrlArtworkTest, ProgramBitmapsAreLoadedAndDiffer)
{
    CBmpProgCtrl bar;
    ASSERT_FALSE(bar.m_bmpBack.isNull()) << "bitmap 137";
    ASSERT_FALSE(bar.m_bmpFore.isNull()) << "bitmap 138";
    bar.resize(300, 20);
    const QImage empty = bar.grab().toImage();
    bar.m_bDrawn = 1;
    bar.m_nPos = 1;
    bar.m_nRange = 2;
    const QImage half = bar.grab().toImage();
    EXPECT_NE(empty.pixel(75, 10), half.pixel(75, 10)) << "left half filled";
    EXPECT_EQ(empty.pixel(225, 10), half.pixel(225, 10)) << "right half still empty";
}

} // namespace
