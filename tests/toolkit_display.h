// Opens the toolkit's X display for tests that show windows.
#ifndef TOOLKIT_DISPLAY_H
#define TOOLKIT_DISPLAY_H

#include <FL/x.H>

#include "x_connection.h"

// Hands the toolkit a connection made with retries, since the toolkit itself
// ends the process when its first attempt fails. Returns false without one.
inline bool open_toolkit_display() {
  if (fl_display == nullptr) {
    Display* display = connect_to_display();
    if (display == nullptr) return false;
    fl_open_display(display);
  }
  return true;
}

#endif  // TOOLKIT_DISPLAY_H
