// The custom-drawn controls' geometry, measured and drawn without a window.
#include "controls/CellSlider.h"
#include "controls/CustomButtonCell.h"
#include "controls/CustomScroller.h"
#include "controls/CustomSliderCell.h"
#include "controls/CustomTextField.h"
#include "controls/VACell.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QtTest>

namespace {

QImage rendered(QWidget &widget, const QColor &beneath)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(beneath);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// The smallest rectangle holding every pixel that differs from `background`.
QRect inkBounds(const QImage &image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

class CustomLookTest : public QObject {
    Q_OBJECT
private slots:
    void sliderBarShowsTheValue_data();
    void sliderBarShowsTheValue();
    void textCellCentresByFontExtent_data();
    void textCellCentresByFontExtent();
    void textFieldFramesTextMovedByTwo_data();
    void textFieldFramesTextMovedByTwo();
    void buttonTitleRisesByAnEighthOfTheRoom_data();
    void buttonTitleRisesByAnEighthOfTheRoom();
    void scrollerFillsWithItsColourUnderTheKnob_data();
    void scrollerFillsWithItsColourUnderTheKnob();
};

void CustomLookTest::sliderBarShowsTheValue_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    // -1: no bar at all.
    QTest::addColumn<qreal>("activeLength");
    // The slider is 208 wide: the active part runs over at most 200.
    QTest::addRow("at its minimum, empty") << 0 << 100 << 0 << 0.0;
    QTest::addRow("half way") << 0 << 100 << 50 << 100.0;
    QTest::addRow("at its maximum, the control's width less 8") << 0 << 100 << 100 << 200.0;
    QTest::addRow("a range not from 0") << 100 << 300 << 150 << 50.0;
    QTest::addRow("maximum 0, no bar") << 0 << 0 << 0 << -1.0;
    QTest::addRow("a range of one value, empty") << 7 << 7 << 7 << 0.0;
}

void CustomLookTest::sliderBarShowsTheValue()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(qreal, activeLength);
    CellSlider slider;
    slider.resize(208, 24);
    slider.setRange(minimum, maximum);
    slider.setValue(value);
    slider.setBackgroundColor(Qt::red);
    slider.setActiveColor(Qt::green);
    const QRectF barRect(4, 10, 200, 7);
    const auto bar = slider.cell()->barInside(barRect);
    QCOMPARE(bar.has_value(), activeLength >= 0);
    const QImage image = rendered(slider, Qt::black);
    const auto colourDrawn = [&image](const QColor &colour) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    if (!bar) {
        QVERIFY(!colourDrawn(Qt::red));
        QVERIFY(!colourDrawn(Qt::green));
        return;
    }
    QCOMPARE(bar->track, QRectF(4, 10, 200, 5));
    QCOMPARE(bar->active, QRectF(4, 10, activeLength, 5));
    // Drawn, the knob hides the end of the track at the maximum.
    QVERIFY(colourDrawn(Qt::red) || colourDrawn(Qt::green));
    QCOMPARE(colourDrawn(Qt::green), activeLength > 0);
}

void CustomLookTest::textCellCentresByFontExtent_data()
{
    QTest::addColumn<qreal>("beyondExtent");
    QTest::addColumn<qreal>("offset");
    QTest::addRow("5 taller: 2 from the top") << 5.0 << 2.0;
    QTest::addRow("1 taller: not moved") << 1.0 << 0.0;
    QTest::addRow("1 shorter: grows by 1 each way") << -1.0 << -1.0;
    QTest::addRow("3 shorter: grows by 2 each way") << -3.0 << -2.0;
}

void CustomLookTest::textCellCentresByFontExtent()
{
    QFETCH(qreal, beyondExtent);
    QFETCH(qreal, offset);
    VACell cell;
    const QFontMetricsF metrics(cell.font());
    const QRectF frame(3, 10, 80, metrics.ascent() + metrics.descent() + beyondExtent);
    QCOMPARE(cell.adjustedFrameToVerticallyCenterText(frame),
             frame.adjusted(0, offset, 0, -offset));
}

void CustomLookTest::textFieldFramesTextMovedByTwo_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addRow("a field of one line's height") << QSize(120, 24) << "Holiday";
    QTest::addRow("a taller field keeps its text at the top") << QSize(90, 60) << "Wj";
}

void CustomLookTest::textFieldFramesTextMovedByTwo()
{
    QFETCH(QSize, size);
    QFETCH(QString, text);
    const QColor beneath(10, 20, 30);
    CustomTextField field;
    field.resize(size);
    field.setText(text);
    QPalette colours = field.palette();
    colours.setColor(QPalette::Text, Qt::white);
    field.setPalette(colours);
    const QImage image = rendered(field, beneath);
    const QColor grey(Qt::gray);
    // The frame: the outer pixel all round, and nothing of it further in.
    for (const QPoint p : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1),
                           QPoint(0, size.height() / 2), QPoint(size.width() / 2, 0)})
        QCOMPARE(image.pixelColor(p), grey);
    QCOMPARE(image.pixelColor(size.width() - 2, size.height() - 2), beneath);
    // The text, as if drawn from the corner of the bounds moved by (2, 2).
    QImage expected(size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(beneath);
    QPainter painter(&expected);
    painter.setFont(field.font());
    painter.setPen(Qt::white);
    painter.drawText(QRectF(QPointF(2, 2), QSizeF(size)), Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    const QRect inside(1, 1, size.width() - 2, size.height() - 2);
    QCOMPARE(inkBounds(image.copy(inside), beneath.rgb()),
             inkBounds(expected.copy(inside), beneath.rgb()));
}

void CustomLookTest::buttonTitleRisesByAnEighthOfTheRoom_data()
{
    QTest::addColumn<qreal>("beyondText");
    QTest::addColumn<qreal>("rise");
    QTest::addRow("as tall as its text: at the bounds' top") << 0.0 << 0.0;
    QTest::addRow("8 taller: 1 above the top") << 8.0 << 1.0;
    QTest::addRow("12 taller: 1.5 above the top") << 12.0 << 1.5;
    QTest::addRow("4 shorter: 0.5 below the top") << -4.0 << -0.5;
}

void CustomLookTest::buttonTitleRisesByAnEighthOfTheRoom()
{
    QFETCH(qreal, beyondText);
    QFETCH(qreal, rise);
    CustomButtonCell button;
    button.setText(QStringLiteral("+"));
    const qreal textHeight = QFontMetricsF(button.font()).height();
    const QRectF bounds(5, 40, 60, textHeight + beyondText);
    QStyleOptionButton option;
    option.initFrom(&button);
    option.rect = bounds.toAlignedRect();
    const QRect contents =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    const QRectF title = button.titleRectForBounds(bounds);
    QCOMPARE(title.y(), bounds.y() - rise);
    // Across and in size, the style's own title rectangle.
    QCOMPARE(title.x(), qreal(contents.x()));
    QCOMPARE(title.size(), QSizeF(contents.size()));
}

void CustomLookTest::scrollerFillsWithItsColourUnderTheKnob_data()
{
    QTest::addColumn<int>("value");
    QTest::addRow("knob at the top") << 0;
    QTest::addRow("knob at the bottom") << 100;
}

void CustomLookTest::scrollerFillsWithItsColourUnderTheKnob()
{
    QFETCH(int, value);
    CustomScroller scroller;
    scroller.resize(12, 200);
    scroller.setRange(0, 100);
    scroller.setPageStep(25);
    scroller.setValue(value);
    // Translucent, so that a blend with what lay beneath would show.
    const QColor colour(0, 0, 255, 128);
    scroller.setScrollColor(colour);
    const QImage image = rendered(scroller, Qt::red);
    QStyleOptionSlider option;
    option.initFrom(&scroller);
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = 100;
    option.pageStep = 25;
    option.sliderPosition = option.sliderValue = value;
    const QRect knob = scroller.style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                        QStyle::SC_ScrollBarSlider, &scroller);
    QVERIFY(!knob.isEmpty());
    QVERIFY(image.pixelColor(knob.center()) != image.pixelColor(6, value ? 1 : 198));
    // Both ends outside the knob, where the style would put its arrows, and
    // the middle of the track: the colour itself, alpha included.
    for (const int y : {1, 198, 100}) {
        if (knob.contains(6, y))
            continue;
        const QColor pixel = image.pixelColor(6, y);
        QCOMPARE(pixel.alpha(), colour.alpha());
        QCOMPARE(pixel.red(), 0);
        QCOMPARE(pixel.blue(), 255);
    }
}

QTEST_MAIN(CustomLookTest)
#include "tst_customlook.moc"
