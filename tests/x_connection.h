// A connection to the test's X display that survives the server's resets.
#ifndef X_CONNECTION_H
#define X_CONNECTION_H

#include <X11/Xlib.h>

// Opens a connection to $DISPLAY, retrying for up to ten seconds: an X server
// that has just lost its last client refuses connections while it resets.
// Holding the connection keeps the server from resetting. Returns nullptr
// when no connection could be made.
Display* connect_to_display();

#endif  // X_CONNECTION_H
