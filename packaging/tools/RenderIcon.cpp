// Renders an SVG into a square PNG of the given size: the icon theme wants
// bitmaps beside the scalable icon, and the build makes them from the one SVG.
//   glaze_render_icon <in.svg> <size> <out.png>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char **argv)
{
    const int size = argc == 4 ? QByteArray(argv[2]).toInt() : 0;
    QSvgRenderer renderer(argc == 4 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (size <= 0 || !renderer.isValid()) {
        QTextStream(stderr) << "usage: glaze_render_icon <in.svg> <size> <out.png>\n";
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
