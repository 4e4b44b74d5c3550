// The yardstick for start-up time and memory: the smallest Qt Widgets program that
// shows a window of Orvantis's size. With "--text" it also shows one line of text,
// so it pays for loading the fonts as every window with words in it does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(471, 136);
    if (QCoreApplication::arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("ORVANTIS V2.4.1"), &window))->move(8, 8);
    window.show();
    return app.exec();
}
