#include "window_pixels.h"

#include <X11/Xutil.h>

#include <algorithm>

std::vector<unsigned long> window_pixels(Display* display, Window window) {
  std::vector<unsigned long> pixels;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable)
    return pixels;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  pixels.reserve(static_cast<size_t>(attributes.width) * static_cast<size_t>(attributes.height));
  for (int row = 0; row < attributes.height; ++row)
    for (int column = 0; column < attributes.width; ++column)
      pixels.push_back(XGetPixel(image, column, row));
  XDestroyImage(image);
  return pixels;
}

int lit_pixels(const std::vector<unsigned long>& pixels) {
  return static_cast<int>(
      std::count_if(pixels.begin(), pixels.end(), [](unsigned long pixel) { return pixel != 0; }));
}
