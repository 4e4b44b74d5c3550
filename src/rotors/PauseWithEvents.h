#pragma once

// Waits ms milliseconds while the event loop keeps running, so timers, sockets
// and clicks are still handled during a controller's pacing pause. Returns at
// once for 0 or less.
void PauseWithEvents(int ms);
