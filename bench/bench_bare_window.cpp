// The yardstick for start-up time and memory: the smallest Qt Widgets program that
// shows a window of Orvantis's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(471, 136);
    window.show();
    return app.exec();
}
