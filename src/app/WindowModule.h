#pragma once

// The window and everything it needs (Qt Gui and Widgets, the X libraries, the
// fonts) live in liborvantis-window.so, loaded only when a window is wanted: a
// headless start, --help or --version loads none of it. Both entries take the
// program's own argc and argv and return its exit status.
#define ORVANTIS_WINDOW_MODULE "liborvantis-window.so"
#define ORVANTIS_WINDOW_MAIN "orvantis_window_main"         // runs the window
#define ORVANTIS_WINDOW_HELP_ALL "orvantis_window_help_all" // --help-all, with Qt's options

using WindowEntry = int (*)(int argc, char **argv);
