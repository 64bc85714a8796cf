#include "capture_table.h"

#include <cstdlib>
#include <sstream>

#include "temp_dir.h"

namespace {

std::vector<std::string> fields(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::vector<std::string> cells;
  std::stringstream stream(line);
  for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(cell);
  if (!line.empty() && line.back() == ',') cells.emplace_back();
  return cells;
}

}  // namespace

CaptureTable read_capture_table(const std::string& path) {
  CaptureTable table;
  std::stringstream text(read_file(path));
  std::string line;
  if (std::getline(text, line)) table.header = fields(line);
  while (std::getline(text, line)) {
    if (line.empty() || line == "\r") continue;
    std::vector<double>& row = table.rows.emplace_back();
    for (const std::string& cell : fields(line)) {
      row.push_back(cell.empty() ? NAN : std::strtod(cell.c_str(), nullptr));
    }
  }
  return table;
}
