// What an X window shows on the screen, read back from the X server.
#ifndef WINDOW_PIXELS_H
#define WINDOW_PIXELS_H

#include <X11/Xlib.h>

#include <vector>

// The pixel values of the whole window, row by row from the top; empty when
// the window is not mapped and visible, whose contents cannot be read.
std::vector<unsigned long> window_pixels(Display* display, Window window);

// How many of the pixels are not black (pixel value 0 on a true-colour
// display).
int lit_pixels(const std::vector<unsigned long>& pixels);

#endif  // WINDOW_PIXELS_H
