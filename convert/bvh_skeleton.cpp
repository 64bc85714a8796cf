#include "bvh_skeleton.h"

#include <cmath>

#include "conversion_error.h"

namespace {

constexpr double radians_per_degree = 3.14159265358979323846 / 180.0;

[[noreturn]] void fail(const BvhTokens& tokens, const std::string& cause) {
  throw ConversionError(at_line(tokens.line_number(), cause));
}

std::string quoted(std::string_view word) {
  constexpr size_t longest = 40;
  return "\"" + std::string(word.substr(0, longest)) + (word.size() > longest ? "...\"" : "\"");
}

// The channel a name such as "Zrotation" stands for (any letter case);
// false for any other word.
bool channel_named(std::string_view word, uint8_t& axis, bool& rotation) {
  if (word.size() != 9) return false;
  const char letter = static_cast<char>(word[0] | 0x20);
  if (letter < 'x' || letter > 'z') return false;
  std::string kind(word.substr(1));
  for (char& c : kind) c = static_cast<char>(c | 0x20);
  if (kind != "position" && kind != "rotation") return false;
  axis = static_cast<uint8_t>(letter - 'x');
  rotation = kind == "rotation";
  return true;
}

// Turns a frame's columns by `degrees` about one of its own axes: multiplies
// it on the right by that axis's right-handed rotation.
void rotate_columns(double (&column)[3][3], uint8_t axis, double degrees) {
  const double angle = degrees * radians_per_degree;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  // The two columns the rotation mixes, in right-handed order (y, z for x).
  double* const first = column[(axis + 1) % 3];
  double* const second = column[(axis + 2) % 3];
  for (int r = 0; r < 3; ++r) {
    const double a = first[r];
    const double b = second[r];
    first[r] = c * a + s * b;
    second[r] = c * b - s * a;
  }
}

}  // namespace

BvhSkeleton::BvhSkeleton(BvhTokens& tokens) {
  std::string_view word;
  if (!tokens.next(word) || word != "HIERARCHY") fail(tokens, "the BVH file has no HIERARCHY");
  std::vector<size_t> open;  // nodes whose closing brace is still to come
  for (;;) {
    if (!tokens.next(word)) {
      if (open.empty()) fail(tokens, "the BVH file ends before its MOTION section");
      fail(tokens, "the file ends before the } of " + quoted(names[open.back()]));
    }
    uint8_t axis = 0;
    bool rotation = false;
    if (open.empty()) {
      if (word == "MOTION") break;
      if (word != "ROOT") fail(tokens, quoted(word) + " where ROOT or MOTION belongs");
      open_node(tokens, no_parent, false);
      open.push_back(nodes.size() - 1);
      continue;
    }
    const size_t top = open.back();
    if (word == "}") {
      close_node(tokens, nodes[top], top);
      open.pop_back();
    } else if (word == "OFFSET") {
      read_offset(tokens, nodes[top]);
    } else if (word == "CHANNELS" && !nodes[top].end_site) {
      read_channels(tokens, nodes[top]);
    } else if ((word == "JOINT" || word == "End") && !nodes[top].end_site) {
      open_node(tokens, top, word == "End");
      open.push_back(nodes.size() - 1);
    } else if (channel_named(word, axis, rotation)) {
      fail(tokens, "more channel names than CHANNELS counts for " + quoted(names[top]));
    } else if (word == "MOTION") {
      fail(tokens, "MOTION before the } of " + quoted(names[top]));
    } else {
      fail(tokens, quoted(word) + " inside " + quoted(names[top]));
    }
  }
  if (nodes.empty()) fail(tokens, "the BVH file has no joints");
  poses.resize(nodes.size());
}

void BvhSkeleton::open_node(BvhTokens& tokens, size_t parent, bool end_site) {
  Node node;
  node.parent = parent;
  node.end_site = end_site;
  const std::string_view name = tokens.name_before_brace();
  names.push_back(end_site ? names[parent] + "_End" : std::string(name));
  nodes.push_back(node);
  std::string_view brace;
  if (!tokens.next(brace) || brace != "{") {
    fail(tokens, "no { after " + std::string(end_site ? "End Site" : quoted(names.back())));
  }
}

void BvhSkeleton::read_offset(BvhTokens& tokens, Node& node) {
  if (node.has_offset) fail(tokens, "a second OFFSET");
  for (double& value : node.offset) {
    std::string_view word;
    if (!tokens.next(word) || read_number_cell(word, value) != CellValue::number) {
      fail(tokens, "OFFSET needs three numbers, not " + quoted(word));
    }
  }
  node.has_offset = true;
}

void BvhSkeleton::read_channels(BvhTokens& tokens, Node& node) {
  if (node.has_channels) fail(tokens, "a second CHANNELS");
  std::string_view word;
  int64_t count = 0;
  if (!tokens.next(word) || !read_whole_number(word, count)) {
    fail(tokens, "CHANNELS needs a channel count, not " + quoted(word));
  }
  for (int64_t i = 0; i < count; ++i) {
    Channel channel{};
    if (!tokens.next(word)) fail(tokens, "the file ends inside CHANNELS");
    if (!channel_named(word, channel.axis, channel.rotation)) {
      const bool keyword = word == "}" || word == "JOINT" || word == "End" || word == "OFFSET" ||
                           word == "CHANNELS" || word == "MOTION";
      if (keyword) {
        fail(tokens, "CHANNELS says " + std::to_string(count) + " but names " + std::to_string(i));
      }
      fail(tokens, "unknown channel " + quoted(word));
    }
    channels.push_back(channel);
  }
  node.first_channel = channels.size() - static_cast<size_t>(count);
  node.channel_count = static_cast<size_t>(count);
  node.has_channels = true;
}

void BvhSkeleton::close_node(const BvhTokens& tokens, const Node& node, size_t index) const {
  if (node.has_offset) return;
  if (node.end_site)
    fail(tokens, "the End Site of " + quoted(names[node.parent]) + " has no OFFSET");
  fail(tokens, quoted(names[index]) + " has no OFFSET");
}

bool BvhSkeleton::place(const double* values, std::vector<MarkerPoint>& points) {
  points.resize(nodes.size());
  bool finite = true;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node& node = nodes[i];
    const Channel* const channel = channels.data() + node.first_channel;
    const double* const value = values + node.first_channel;
    double move[3] = {node.offset[0], node.offset[1], node.offset[2]};
    for (size_t k = 0; k < node.channel_count; ++k) {
      if (!channel[k].rotation) move[channel[k].axis] = value[k];
    }
    Pose& pose = poses[i];
    if (node.parent == no_parent) {
      pose = Pose{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}, {move[0], move[1], move[2]}};
    } else {
      const Pose& parent = poses[node.parent];
      pose = parent;
      for (int r = 0; r < 3; ++r) {
        pose.position[r] += parent.column[0][r] * move[0] + parent.column[1][r] * move[1] +
                            parent.column[2][r] * move[2];
      }
    }
    for (size_t k = 0; k < node.channel_count; ++k) {
      if (channel[k].rotation) rotate_columns(pose.column, channel[k].axis, value[k]);
    }
    points[i] = MarkerPoint{pose.position[0], pose.position[1], pose.position[2], true};
    finite = finite && std::isfinite(pose.position[0] + pose.position[1] + pose.position[2]);
  }
  return finite;
}
