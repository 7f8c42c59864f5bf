#include "controls/CTransParentButton.h"

#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

const QRgb kIconColour = qRgb(220, 0, 0);
const QRgb kPressedFill = qRgb(240, 240, 240);
const QRgb kHotFill = qRgb(252, 252, 252);
const QRgb kFramePen = qRgb(248, 248, 248);

// A parent that paints itself one plain colour, the way the main window
// paints its header under the buttons.
class Backdrop : public QWidget
{
public:
    QColor colour{30, 120, 60};

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};

// An opaque red square: its pixels show where the icon went.
QIcon RedIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(kIconColour));
    return QIcon(pixmap);
}

bool IsIconRed(QRgb c)
{
    return qRed(c) > 180 && qGreen(c) < 60 && qBlue(c) < 60;
}

// The bounding box of the pixels for which test holds, inside area.
template <class Test> std::optional<QRect> Box(const QImage& image, const QRect& area, Test test)
{
    std::optional<QRect> box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y) & 0xFFFFFF)) {
                const QRect p(x, y, 1, 1);
                box = box ? box->united(p) : p;
            }
    return box;
}

class TransParentButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        backdrop.resize(200, 120);
        button = new CTransParentButton(QStringLiteral("Help"), &backdrop);
        button->setGeometry(40, 20, 64, 64);
        button->ApplyHeaderSettings(RedIcon());
        backdrop.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&backdrop));
        PointerAt(QPoint(-100, -100));
    }

    void PointerAt(QPoint global) { QCursor::setPos(global); }
    QPoint Inside() const { return button->mapToGlobal(QPoint(10, 10)); }
    QPoint Outside() const { return button->mapToGlobal(QPoint(150, 10)); }

    void Send(QEvent::Type type, Qt::MouseButton which, Qt::MouseButtons held)
    {
        const QPointF local(10, 10);
        QMouseEvent event(type, local, button->mapToGlobal(local), which, held, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }
    void Hover() { Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton); }
    void Press() { Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton); }
    void Release() { Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton); }

    QImage Picture() { return button->grab().toImage(); }

    // Where the caption's pixels are: below the icon, anything that is not
    // the backdrop or a frame colour.
    std::optional<QRect> CaptionBox(const QImage& image)
    {
        const QRgb back = backdrop.colour.rgb() & 0xFFFFFF;
        const QRect below(0, 44, image.width(), image.height() - 44);
        return Box(image, below.adjusted(2, 0, -2, -2), [&](QRgb c) {
            return c != back && c != (kHotFill & 0xFFFFFF) && c != (kPressedFill & 0xFFFFFF) &&
                   c != (kFramePen & 0xFFFFFF);
        });
    }

    Backdrop backdrop;
    CTransParentButton* button = nullptr;
};

TEST_F(TransParentButtonTest, NormalStateShowsTheBackgroundUnderIconAndCaption)
{
    EXPECT_EQ(button->State(), 1);
    EXPECT_EQ(button->Layout(), 1);
    EXPECT_EQ(button->Spacing(), 10);
    EXPECT_TRUE(button->HasIcon());
    const QImage image = Picture();
    const QRgb back = backdrop.colour.rgb() & 0xFFFFFF;
    // No frame: the corners and the edges are the backdrop.
    for (QPoint p : {QPoint(0, 0), QPoint(32, 0), QPoint(0, 32), QPoint(63, 63), QPoint(2, 50)})
        EXPECT_EQ(image.pixel(p) & 0xFFFFFF, back) << p.x() << "," << p.y();
    // The icon is centred across, 10 (the spacing) from the top, 32 x 32.
    EXPECT_EQ(Box(image, image.rect(), IsIconRed), QRect(16, 10, 32, 32));
    // The caption sits under the icon, in the normal text colour (a grey).
    const auto caption = CaptionBox(image);
    ASSERT_TRUE(caption);
    EXPECT_GE(caption->top(), button->CaptionPosition(QFontMetrics(button->font()).height()).y());
    const QColor normal = button->NormalTextColor();
    EXPECT_LT(qAbs(normal.red() - normal.blue()), 30);
}

TEST_F(TransParentButtonTest, HotStateDrawsTheLightRoundedFrameAndTheHotCaption)
{
    PointerAt(Inside());
    Hover();
    EXPECT_EQ(button->State(), 0);
    EXPECT_TRUE(button->IsTracking());
    EXPECT_TRUE(button->HasTimer(CTransParentButton::kHoverTimer));
    const QImage image = Picture();
    EXPECT_EQ(image.pixel(32, 0) & 0xFFFFFF, kFramePen & 0xFFFFFF);
    EXPECT_EQ(image.pixel(0, 32) & 0xFFFFFF, kFramePen & 0xFFFFFF);
    EXPECT_EQ(image.pixel(3, 50) & 0xFFFFFF, kHotFill & 0xFFFFFF);
    // The rounded corner leaves the very corner pixel to the background.
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
    EXPECT_EQ(Box(image, image.rect(), IsIconRed), QRect(16, 10, 32, 32));
    // The caption takes the hot colour (the highlight), a blue, not the grey text colour.
    const QColor hot = button->HotTextColor();
    ASSERT_GT(hot.blue() - hot.red(), 60);
    const auto blueish = Box(image, image.rect(), [](QRgb c) { return qBlue(c) - qRed(c) > 40; });
    ASSERT_TRUE(blueish);
    EXPECT_GE(blueish->top(), 42);
}

TEST_F(TransParentButtonTest, PressedMovesIconAndCaptionOnePixelRightAndDown)
{
    const QImage normal = Picture();
    PointerAt(Inside());
    Press();
    EXPECT_EQ(button->State(), 3);
    const QImage pressed = Picture();
    EXPECT_EQ(pressed.pixel(3, 50) & 0xFFFFFF, kPressedFill & 0xFFFFFF);
    EXPECT_EQ(pressed.pixel(32, 63) & 0xFFFFFF, kFramePen & 0xFFFFFF);
    EXPECT_EQ(Box(pressed, pressed.rect(), IsIconRed), QRect(17, 11, 32, 32));
    const auto before = CaptionBox(normal);
    const auto after = CaptionBox(pressed);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->topLeft(), before->topLeft() + QPoint(1, 1));
    EXPECT_EQ(after->size(), before->size());

    // Released over the button: state 2, the hot frame again, and a click.
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    Release();
    EXPECT_EQ(button->State(), 2);
    EXPECT_EQ(clicks, 1);
    const QImage released = Picture();
    EXPECT_EQ(released.pixel(3, 50) & 0xFFFFFF, kHotFill & 0xFFFFFF);
    EXPECT_EQ(Box(released, released.rect(), IsIconRed), QRect(16, 10, 32, 32));
}

TEST_F(TransParentButtonTest, ReleasedOutsideReturnsToNormal)
{
    PointerAt(Inside());
    Press();
    PointerAt(Outside());
    Release();
    EXPECT_EQ(button->State(), 1);
    EXPECT_EQ(Picture().pixel(3, 50) & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
}

TEST_F(TransParentButtonTest, DisabledShowsNoFrameAndAGreyedIcon)
{
    PointerAt(Inside());
    Press();
    button->setEnabled(false);
    const QImage image = Picture();
    // Disabling reports state 1: no frame, whatever the state was.
    EXPECT_EQ(button->State(), 1);
    EXPECT_EQ(image.pixel(3, 50) & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(32, 0) & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
    // The icon is drawn, greyed: no red left, but the square is not the backdrop.
    EXPECT_FALSE(Box(image, image.rect(), IsIconRed));
    const QRgb middle = image.pixel(32, 26);
    EXPECT_NE(middle & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
    EXPECT_LT(qAbs(qRed(middle) - qGreen(middle)), 40);
    // The embossed caption is there.
    EXPECT_TRUE(CaptionBox(image));
    // A disabled button does not start hovering.
    Hover();
    EXPECT_FALSE(button->IsTracking());
    EXPECT_EQ(button->State(), 1);
}

TEST_F(TransParentButtonTest, EmptyCaptionCentresTheIconInEitherLayout)
{
    button->setText(QString());
    for (int layout : {0, 1}) {
        SCOPED_TRACE(layout);
        button->SetLayout(layout);
        const QImage image = Picture();
        EXPECT_EQ(Box(image, image.rect(), IsIconRed), QRect(16, 16, 32, 32));
    }
    // With a caption, layout 0 puts the icon at the margin, centred down.
    button->setText(QStringLiteral("Help"));
    button->SetLayout(0);
    const QImage image = Picture();
    EXPECT_EQ(Box(image, image.rect(), IsIconRed), QRect(button->Margin(), 16, 32, 32));
}

TEST_F(TransParentButtonTest, OddCaptionIsDrawnOnePixelFurtherLeft)
{
    // Same first letter, so only the layout moves it. The layout takes four
    // pixels a character: two more letters move it 4 px left, halved; an odd
    // length one more.
    const int h = QFontMetrics(button->font()).height();
    auto leftEdge = [&](const QString& caption) {
        button->setText(caption);
        const auto box = CaptionBox(Picture());
        EXPECT_TRUE(box);
        return box ? box->left() : 0;
    };
    button->setText(QStringLiteral("HH"));
    const int layoutEven = button->CaptionPosition(h).x();
    button->setText(QStringLiteral("HHH"));
    const int layoutOdd = button->CaptionPosition(h).x();
    ASSERT_EQ(layoutOdd, layoutEven - 2);
    EXPECT_EQ(leftEdge(QStringLiteral("HHH")) - leftEdge(QStringLiteral("HH")), -3);
    EXPECT_EQ(leftEdge(QStringLiteral("HHHH")) - leftEdge(QStringLiteral("HH")), -4);
}

TEST_F(TransParentButtonTest, BackgroundIsCopiedAtTheFirstPaintAndNeverAgain)
{
    // A new button that has not been painted yet has no copy.
    auto* fresh = new CTransParentButton(QString(), &backdrop);
    fresh->setGeometry(120, 20, 40, 40);
    EXPECT_FALSE(fresh->HasBackgroundCopy());
    fresh->show();
    const QRgb first = backdrop.colour.rgb() & 0xFFFFFF;
    EXPECT_EQ(fresh->grab().toImage().pixel(20, 20) & 0xFFFFFF, first);
    ASSERT_TRUE(fresh->HasBackgroundCopy());
    EXPECT_EQ(fresh->BackgroundCopy().toImage().pixel(5, 5) & 0xFFFFFF, first);

    // The backdrop changes; the button keeps showing what it copied.
    backdrop.colour = QColor(200, 40, 200);
    backdrop.update();
    const QImage whole = backdrop.grab().toImage();
    EXPECT_EQ(whole.pixel(5, 5) & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
    EXPECT_EQ(whole.pixel(140, 40) & 0xFFFFFF, first);

    // Not transparent: the button face instead of the copy.
    fresh->SetTransparent(false);
    EXPECT_EQ(fresh->grab().toImage().pixel(20, 20) & 0xFFFFFF,
              fresh->palette().color(QPalette::Button).rgb() & 0xFFFFFF);
}

TEST_F(TransParentButtonTest, HoverTimerEndsTheHotStateOnceThePointerHasLeft)
{
    PointerAt(Inside());
    Hover();
    ASSERT_EQ(button->State(), 0);
    // While the pointer is inside, the timer keeps the hot state.
    button->OnTimer(CTransParentButton::kHoverTimer);
    EXPECT_EQ(button->State(), 0);

    PointerAt(Outside());
    // Another timer number is swallowed: it ends nothing.
    button->OnTimer(2);
    EXPECT_EQ(button->State(), 0);
    EXPECT_TRUE(button->IsTracking());
    // The running hover timer notices the pointer outside.
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->State() == 1; }, 5000));
    EXPECT_FALSE(button->IsTracking());
    EXPECT_FALSE(button->HasTimer(CTransParentButton::kHoverTimer));
    EXPECT_EQ(Picture().pixel(3, 50) & 0xFFFFFF, backdrop.colour.rgb() & 0xFFFFFF);
}

TEST_F(TransParentButtonTest, MovingWithTheLeftButtonHeldStartsNoHover)
{
    PointerAt(Inside());
    Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(button->State(), 1);
    EXPECT_FALSE(button->IsTracking());
    EXPECT_FALSE(button->HasTimer(CTransParentButton::kHoverTimer));
}

TEST_F(TransParentButtonTest, ThreeDimensionalFrameAndFocusMarks)
{
    button->SetFlat(false);
    button->setFocusPolicy(Qt::StrongFocus);
    backdrop.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&backdrop));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    QImage image = Picture();
    const QRgb hi = button->palette().color(QPalette::Light).rgb() & 0xFFFFFF;
    // Focused: a black frame all round, the inner 3-D pair inside it.
    EXPECT_EQ(image.pixel(10, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(63, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(10, 1) & 0xFFFFFF, hi);
    // The extra line two pixels in from the right and the bottom.
    EXPECT_EQ(image.pixel(62, 30) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(30, 62) & 0xFFFFFF, 0u);

    button->clearFocus();
    image = Picture();
    EXPECT_EQ(image.pixel(10, 0) & 0xFFFFFF, hi);
    EXPECT_EQ(image.pixel(63, 10) & 0xFFFFFF, 0u);
    PointerAt(Inside());
    Press();
    image = Picture();
    // Pressed: black at the top left, the highlight at the bottom right.
    EXPECT_EQ(image.pixel(10, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(63, 10) & 0xFFFFFF, hi);
}

} // namespace
