#include "sim/WorldFile.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/OneLine.h"

namespace turnlet::sim {

namespace {

using nlohmann::json;

struct Reader {
  const std::string& source;

  // One line, whatever the file name or the file holds.
  [[noreturn]] void fail(const std::string& problem) const { throw WorldFileError(oneLine(source + ": " + problem)); }

  void onlyKeys(const json& object, std::initializer_list<const char*> keys, const std::string& where) const {
    for (auto& [key, value] : object.items()) {
      bool known = false;
      for (const char* k : keys) known = known || key == k;
      if (!known) fail(where + " has an unknown field \"" + key + "\"");
    }
  }

  std::uint32_t unsigned32(const json& v, const std::string& where) const {
    if (!v.is_number_integer() || (v.is_number_integer() && !v.is_number_unsigned() && v.get<std::int64_t>() < 0) ||
        v.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max())
      fail(where + " must be an unsigned 32-bit integer");
    return v.get<std::uint32_t>();
  }

  bool boolean(const json& v, const std::string& where) const {
    if (!v.is_boolean()) fail(where + " must be true or false");
    return v.get<bool>();
  }

  std::string string(const json& v, const std::string& where) const {
    if (!v.is_string()) fail(where + " must be a string");
    return v.get<std::string>();
  }

  double finite(const json& v, const std::string& where) const {
    if (!v.is_number()) fail(where + " must be a number");
    const double d = v.get<double>();
    if (!std::isfinite(d)) fail(where + " must be finite");
    return d;
  }

  SimDisplay display(const json& v, const std::string& where) const {
    if (!v.is_object()) fail(where + " must be an object");
    onlyKeys(v, {"id", "name", "bounds", "vendor", "builtIn", "main", "mirrored", "uuid", "hasScreen", "scale"}, where);
    SimDisplay d;
    if (!v.contains("id")) fail(where + " needs an \"id\"");
    d.id = unsigned32(v["id"], where + ".id");
    if (d.id == 0) fail(where + ".id must not be 0");
    if (!v.contains("bounds")) fail(where + " needs \"bounds\"");
    const json& b = v["bounds"];
    if (!b.is_array() || b.size() != 4) fail(where + ".bounds must be [x, y, width, height]");
    d.bounds = Rect(finite(b[0], where + ".bounds[0]"), finite(b[1], where + ".bounds[1]"),
                    finite(b[2], where + ".bounds[2]"), finite(b[3], where + ".bounds[3]"));
    if (d.bounds.size.width < 0 || d.bounds.size.height < 0) fail(where + ".bounds must not have a negative size");
    d.name = v.contains("name") ? string(v["name"], where + ".name") : "Display " + std::to_string(d.id);
    if (v.contains("vendor")) d.vendor = unsigned32(v["vendor"], where + ".vendor");
    if (v.contains("builtIn")) d.builtIn = boolean(v["builtIn"], where + ".builtIn");
    if (v.contains("mirrored")) d.mirrored = boolean(v["mirrored"], where + ".mirrored");
    if (v.contains("hasScreen")) d.hasScreen = boolean(v["hasScreen"], where + ".hasScreen");
    if (v.contains("uuid") && !v["uuid"].is_null()) d.uuid = string(v["uuid"], where + ".uuid");
    if (v.contains("scale")) {
      d.scale = finite(v["scale"], where + ".scale");
      if (d.scale < 0) fail(where + ".scale must not be negative");
    }
    return d;
  }
};

}  // namespace

WorldDescription defaultWorld() {
  WorldDescription world;
  SimDisplay mac;
  mac.id = 1;
  mac.name = "Built-in Retina Display";
  mac.bounds = Rect(0, 0, 1440, 900);
  mac.vendor = 1552;
  mac.builtIn = true;
  mac.uuid = "37D8832A-2D66-02CA-B9F7-8F30A301B230";
  SimDisplay ipad;
  ipad.id = 2;
  ipad.name = "Sidecar Display (AirPlay)";
  ipad.bounds = Rect(1440, 0, 1366, 1024);
  ipad.vendor = 1552;
  ipad.uuid = "5F3B9C1E-8A47-4D2B-9E61-0C7A2B4D8F13";
  world.displays = {mac, ipad};
  world.mainDisplay = 1;
  return world;
}

WorldDescription parseWorld(const std::string& text, const std::string& sourceName) {
  Reader r{sourceName};
  json root;
  try {
    root = json::parse(text);
  } catch (const json::exception& e) {
    // Syntax errors, and numbers too large for a double.
    std::string what = e.what();
    if (auto at = what.find("] "); at != std::string::npos) what = what.substr(at + 2);
    r.fail("not valid JSON (" + what + ")");
  }
  if (!root.is_object()) r.fail("the world must be a JSON object");
  r.onlyKeys(root, {"displays"}, "the world");
  WorldDescription world;
  if (!root.contains("displays")) r.fail("the world needs a \"displays\" list");
  const json& list = root["displays"];
  if (!list.is_array()) r.fail("\"displays\" must be a list");
  std::set<DisplayID> ids;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string where = "displays[" + std::to_string(i) + "]";
    SimDisplay d = r.display(list[i], where);
    if (!ids.insert(d.id).second) r.fail(where + ".id " + std::to_string(d.id) + " is used twice");
    if (list[i].contains("main") && r.boolean(list[i]["main"], where + ".main")) {
      if (world.mainDisplay != 0) r.fail("more than one display is main");
      world.mainDisplay = d.id;
    }
    world.displays.push_back(std::move(d));
  }
  return world;
}

WorldDescription loadWorldFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw WorldFileError(oneLine(path + ": cannot be read"));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw WorldFileError(oneLine(path + ": cannot be read"));
  return parseWorld(text.str(), path);
}

}  // namespace turnlet::sim
