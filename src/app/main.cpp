#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "orvantis: no display found; run it under a virtual one with: xvfb-run -a %s\n", argv[0]);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return app.exec();
}
