// The custom-drawn views, the video view's autoresizing, the child window and
// the overlay's shape without a compositor.
#include "app/WindowLevel.h"
#include "chrome/ChildWindow.h"
#include "chrome/OverlayMask.h"
#include "controls/CustomTableRowView.h"
#include "controls/CustomView.h"
#include "controls/ImageButton.h"
#include "media/VLCVideoView.h"

#include <QPainter>
#include <QStandardItemModel>
#include <QtTest>

class ViewsTest : public QObject {
    Q_OBJECT
private slots:
    void customViewCopiesItsColour_data();
    void customViewCopiesItsColour();
    void rowViewDrawsSelection_data();
    void rowViewDrawsSelection();
    void videoViewFollowsItsHolder();
    void overlayMaskCoversVisibleStrips();
    void windowLevelKeepsWindowShown();
    void imageButtonShowsAlternateWhileDown();
};

void ViewsTest::customViewCopiesItsColour_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addRow("transparent clears what lay under it") << QColor(0, 0, 0, 0);
    QTest::addRow("%s", "the overlay bars' 85 % grey") << QColor(41, 41, 41, 217);
    QTest::addRow("opaque panel grey") << QColor(41, 41, 41, 255);
}

void ViewsTest::customViewCopiesItsColour()
{
    QFETCH(QColor, colour);
    CustomView view;
    view.resize(40, 30);
    view.setBackgroundColor(colour);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    view.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    const QColor pixel = image.pixelColor(20, 15);
    QCOMPARE(pixel.alpha(), colour.alpha());
    if (colour.alpha() > 0) {
        QCOMPARE(pixel.red(), colour.red());
        QCOMPARE(pixel.green(), colour.green());
    }
}

void ViewsTest::rowViewDrawsSelection_data()
{
    QTest::addColumn<bool>("highlightStyleNone");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("highlighted");
    QTest::addRow("selected row") << false << true << true;
    QTest::addRow("unselected row") << false << false << false;
    QTest::addRow("style none, selected") << true << true << false;
}

void ViewsTest::rowViewDrawsSelection()
{
    QFETCH(bool, highlightStyleNone);
    QFETCH(bool, selected);
    QFETCH(bool, highlighted);
    CustomTableRowView rowView;
    rowView.setHighlightedColor(QColor(0, 200, 0));
    if (highlightStyleNone)
        rowView.setSelectionHighlightStyle(CustomTableRowView::SelectionHighlightStyle::None);
    QStandardItemModel model(1, 1);
    QImage image(100, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.state = QStyle::State_Enabled;
    if (selected)
        option.state |= QStyle::State_Selected;
    rowView.paint(&painter, option, model.index(0, 0));
    painter.end();
    // Middle of the row and its edge, which the stroke draws once more.
    for (const QPoint p : {QPoint(50, 10), QPoint(0, 0), QPoint(99, 19)})
        QCOMPARE(image.pixelColor(p) == QColor(0, 200, 0), highlighted);
}

void ViewsTest::videoViewFollowsItsHolder()
{
    QWidget holder;
    holder.resize(400, 300);
    auto *view = VLCVideoView::initWithFrame(QRect(0, 0, 400, 300), &holder);
    // Under the offscreen platform there is no X11 window to hand to the engine.
    QCOMPARE(view->x11Window(), 0ul);
    view->setAutoresizingMask(VLCVideoView::WidthSizable | VLCVideoView::HeightSizable);
    holder.show();
    holder.resize(500, 250);
    QCOMPARE(view->geometry(), QRect(0, 0, 500, 250));
    view->setAutoresizingMask(VLCVideoView::WidthSizable);
    holder.resize(550, 400);
    QCOMPARE(view->geometry(), QRect(0, 0, 550, 250));
    QSignalSpy fill(view, &VLCVideoView::fillChanged);
    view->setFillScreen(true);
    view->setFillScreen(true);
    QCOMPARE(fill.count(), 1);
}

void ViewsTest::overlayMaskCoversVisibleStrips()
{
    QWidget window;
    window.resize(400, 300);
    auto *top = new QWidget(&window);
    top->setGeometry(0, 0, 400, 30);
    auto *bottom = new QWidget(&window);
    bottom->setGeometry(0, 230, 400, 70);
    window.show();
    OverlayMask mask(&window, {top, bottom, nullptr});
    QCOMPARE(window.mask(), QRegion(0, 0, 400, 30) + QRegion(0, 230, 400, 70));
    // The middle, where the video is, lies outside the window's shape.
    QVERIFY(!window.mask().contains(QPoint(200, 150)));
    bottom->hide();
    QCOMPARE(window.mask(), QRegion(0, 0, 400, 30));
    top->hide();
    QCOMPARE(window.mask(), QRegion(0, 0, 1, 1));
    top->show();
    top->resize(400, 40);
    QCOMPARE(window.mask(), QRegion(0, 0, 400, 40));
}

void ViewsTest::windowLevelKeepsWindowShown()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    setWindowLevel(&window, WindowLevel::ModalPanel);
    QCOMPARE(windowLevel(&window), WindowLevel::ModalPanel);
    QVERIFY(window.isVisible());
    QVERIFY(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    setWindowLevel(&window, WindowLevel::Normal);
    QCOMPARE(windowLevel(&window), WindowLevel::Normal);
    QVERIFY(window.isVisible());
}

void ViewsTest::imageButtonShowsAlternateWhileDown()
{
    ImageButton button;
    button.resize(32, 32);
    button.setImage(QStringLiteral("play"));
    button.setAlternateImage(QStringLiteral("play-pressed"));
    const QImage up = button.grab().toImage();
    button.setDown(true);
    const QImage down = button.grab().toImage();
    QVERIFY(up != down);
    // The play image is drawn light, the pressed one darker.
    QVERIFY(qGray(up.pixel(16, 16)) > qGray(down.pixel(16, 16)));
    QCOMPARE(button.focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(ViewsTest)
#include "tst_views.moc"
