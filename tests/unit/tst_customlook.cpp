// The custom-drawn controls' geometry, measured and drawn without a window.
#include "controls/CellSlider.h"
#include "controls/CustomSliderCell.h"
#include "controls/VACell.h"

#include <QPainter>
#include <QtTest>

namespace {

QImage rendered(QWidget &widget, const QColor &beneath)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(beneath);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

} // namespace

class CustomLookTest : public QObject {
    Q_OBJECT
private slots:
    void sliderBarShowsTheValue_data();
    void sliderBarShowsTheValue();
    void textCellCentresByFontExtent_data();
    void textCellCentresByFontExtent();
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

QTEST_MAIN(CustomLookTest)
#include "tst_customlook.moc"
