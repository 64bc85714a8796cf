#include "x_connection.h"

#include <chrono>
#include <thread>

Display* connect_to_display() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return nullptr;
}
