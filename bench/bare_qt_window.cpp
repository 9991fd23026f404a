// The floor for Glaze's start-up: a Qt Widgets main window of the same size,
// on the same platform, and nothing else.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    // Glaze picks xcb by itself where DISPLAY is set; do the same.
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt Window"));
    window.resize(960, 540);
    window.show();
    return QApplication::exec();
}
