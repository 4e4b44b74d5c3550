#pragma once

// Loads Qt's X11 platform plugin, and the score of libraries it pulls in, before
// the program starts any thread, when it is sure to be the plugin the application
// object will choose. Loading a library ends in page-protection changes, and while
// another thread of the process runs on a second core each one interrupts that
// core to flush its address cache. On a two-core virtual machine the X11 plugin
// brought some fifty such flushes, about 40 us apiece, while the font warm-up ran:
// 1.5 to 2 ms of start-up. Once loaded here, the application object finds it
// loaded.
void preloadDisplayPlugin(int argc, char *argv[]);
