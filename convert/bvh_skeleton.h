// The skeleton of a BVH file: its joints and End Sites as the hierarchy
// lists them, and where each one is for one frame's channel values.
#ifndef BVH_SKELETON_H
#define BVH_SKELETON_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bvh_tokens.h"
#include "marker_recording.h"

class BvhSkeleton {
 public:
  // Reads the hierarchy from tokens: HIERARCHY, one or more ROOT blocks of
  // OFFSET, CHANNELS, JOINT and End Site items at any depth, up to and
  // including the word MOTION. Throws ConversionError ("line N: cause") for
  // a missing brace or OFFSET, an unknown channel name, a channel count that
  // does not match the names, a word out of place, or no joint at all.
  // Nesting depth is bounded by the file alone: nothing recurses.
  explicit BvhSkeleton(BvhTokens& tokens);

  // One name per point, in the hierarchy's order (depth first, as written):
  // a ROOT or JOINT by its name, an End Site as "<its joint's name>_End".
  const std::vector<std::string>& point_names() const { return names; }

  // The numbers a frame row holds: every joint's channels, in the order the
  // hierarchy lists them.
  size_t channel_count() const { return channels.size(); }

  // Sets points (resized to one per name, all seen) to the positions, in the
  // file's units, of the skeleton posed by values (channel_count of them):
  // each joint moved to its OFFSET, with its position channels replacing
  // their axes, then turned by its rotation channels in their order, in
  // degrees, all in its parent's frame. Allocates only on the first call.
  // Returns false when a position is beyond the range of doubles.
  bool place(const double* values, std::vector<MarkerPoint>& points);

 private:
  static constexpr size_t no_parent = SIZE_MAX;

  // One channel of a row: a position along or a rotation about an axis.
  struct Channel {
    uint8_t axis;  // 0 x, 1 y, 2 z
    bool rotation;
  };

  // A ROOT, JOINT or End Site.
  struct Node {
    size_t parent = no_parent;
    double offset[3] = {0.0, 0.0, 0.0};
    size_t first_channel = 0;  // its channels are [first_channel, first_channel + channel_count)
    size_t channel_count = 0;
    bool end_site = false;
    bool has_offset = false;
    bool has_channels = false;
  };

  // A node's place in the world: rotation columns, then position.
  struct Pose {
    double column[3][3];
    double position[3];
  };

  // Starts a node below parent (no_parent for a ROOT) after its keyword,
  // and reads its opening brace.
  void open_node(BvhTokens& tokens, size_t parent, bool end_site);
  // Reads OFFSET's three numbers into node.
  void read_offset(BvhTokens& tokens, Node& node);
  // Reads CHANNELS' count and names into node and channels.
  void read_channels(BvhTokens& tokens, Node& node);
  // Checks node complete at its closing brace.
  void close_node(const BvhTokens& tokens, const Node& node, size_t index) const;

  std::vector<Node> nodes;
  std::vector<std::string> names;
  std::vector<Channel> channels;
  std::vector<Pose> poses;  // one per node, the last place() call's
};

#endif  // BVH_SKELETON_H
