#include "sim/world/WorldFile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/OneLine.h"

namespace turnlet::sim {

namespace {

using nlohmann::json;

// Displays the simulated Mac can draw: pictures of a few hundred megabytes at most, and origins
// far enough apart for any arrangement of such displays.
constexpr double maxOrigin = 32768, maxSide = 16384, maxScale = 4, maxPixels = 16384;

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

  // "<where> must be <allowed>", and the number it is when it is one.
  [[noreturn]] void outOfRange(const json& v, const std::string& where, const std::string& allowed) const {
    fail(where + " must be " + allowed + (v.is_number() ? ", not " + v.dump() : ""));
  }

  std::uint32_t unsigned32(const json& v, const std::string& where) const {
    if (!v.is_number_integer() || (v.is_number_integer() && !v.is_number_unsigned() && v.get<std::int64_t>() < 0) ||
        v.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max())
      outOfRange(v, where, "an unsigned 32-bit integer");
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

  // A number from lowest to highest, both included.
  double between(const json& v, const std::string& where, double lowest, double highest) const {
    const double d = finite(v, where);
    if (!(d >= lowest && d <= highest)) outOfRange(v, where, "from " + whole(lowest) + " to " + whole(highest));
    return d;
  }
  static std::string whole(double d) { return std::to_string(std::llround(d)); }

  // A whole number an int holds; anything else is refused rather than cast.
  int int32(const json& v, const std::string& where) const {
    const double d = v.is_number() ? v.get<double>() : std::numeric_limits<double>::quiet_NaN();
    if (!(d >= std::numeric_limits<int>::min() && d <= std::numeric_limits<int>::max()) || d != std::trunc(d))
      outOfRange(v, where, "a whole number from -2147483648 to 2147483647");
    return static_cast<int>(d);
  }

  Rect rect(const json& b, const std::string& where) const {
    if (!b.is_array() || b.size() != 4) fail(where + " must be [x, y, width, height]");
    return Rect(finite(b[0], where + "[0]"), finite(b[1], where + "[1]"), finite(b[2], where + "[2]"),
                finite(b[3], where + "[3]"));
  }

  SimElement element(const json& v, const std::string& where, std::size_t index) const {
    if (!v.is_object()) fail(where + " must be an object");
    onlyKeys(v, {"role", "frame", "enabled", "actions", "parent"}, where);
    SimElement e;
    if (v.contains("role")) e.role = string(v["role"], where + ".role");
    if (!v.contains("frame")) fail(where + " needs a \"frame\"");
    e.frame = rect(v["frame"], where + ".frame");
    if (v.contains("enabled")) e.enabled = boolean(v["enabled"], where + ".enabled");
    if (v.contains("actions")) {
      if (!v["actions"].is_array()) fail(where + ".actions must be a list");
      e.actions.clear();
      for (std::size_t i = 0; i < v["actions"].size(); ++i)
        e.actions.push_back(string(v["actions"][i], where + ".actions[" + std::to_string(i) + "]"));
    }
    if (v.contains("parent")) {
      if (!v["parent"].is_number_integer() || v["parent"].get<std::int64_t>() < -1 ||
          v["parent"].get<std::int64_t>() >= std::int64_t(index))
        outOfRange(v["parent"], where + ".parent", "-1 or the index of an earlier element");
      e.parent = v["parent"].get<int>();
    }
    return e;
  }

  SimAppWindow window(const json& v, const std::string& where) const {
    if (!v.is_object()) fail(where + " must be an object");
    onlyKeys(v, {"number", "title", "bounds", "alpha", "layer", "titleBarHeight", "positionSettable", "elements"}, where);
    SimAppWindow w;
    if (!v.contains("number")) fail(where + " needs a \"number\"");
    w.number = unsigned32(v["number"], where + ".number");
    if (w.number == 0) fail(where + ".number must not be 0");
    if (!v.contains("bounds")) fail(where + " needs \"bounds\"");
    w.bounds = rect(v["bounds"], where + ".bounds");
    if (v.contains("title")) w.title = string(v["title"], where + ".title");
    if (v.contains("alpha")) w.alpha = finite(v["alpha"], where + ".alpha");
    if (v.contains("layer")) w.layer = int32(v["layer"], where + ".layer");
    if (v.contains("titleBarHeight")) w.titleBarHeight = finite(v["titleBarHeight"], where + ".titleBarHeight");
    if (v.contains("positionSettable")) w.positionSettable = boolean(v["positionSettable"], where + ".positionSettable");
    if (v.contains("elements")) {
      if (!v["elements"].is_array()) fail(where + ".elements must be a list");
      for (std::size_t i = 0; i < v["elements"].size(); ++i)
        w.elements.push_back(element(v["elements"][i], where + ".elements[" + std::to_string(i) + "]", i));
    }
    return w;
  }

  SimApplication application(const json& v, const std::string& where) const {
    if (!v.is_object()) fail(where + " must be an object");
    onlyKeys(v, {"pid", "name", "windows"}, where);
    SimApplication app;
    if (!v.contains("pid")) fail(where + " needs a \"pid\"");
    if (!v["pid"].is_number_integer() || v["pid"].get<std::int64_t>() < 1 || v["pid"].get<std::int64_t>() > 2147483647)
      outOfRange(v["pid"], where + ".pid", "a process id from 1 to 2147483647");
    app.pid = v["pid"].get<ProcessID>();
    app.name = v.contains("name") ? string(v["name"], where + ".name") : "Application " + std::to_string(app.pid);
    if (v.contains("windows")) {
      if (!v["windows"].is_array()) fail(where + ".windows must be a list");
      for (std::size_t i = 0; i < v["windows"].size(); ++i)
        app.windows.push_back(window(v["windows"][i], where + ".windows[" + std::to_string(i) + "]"));
    }
    return app;
  }

  // One of the named values, as its index in names.
  template <std::size_t n>
  int oneOf(const json& v, const std::string& where, const char* const (&names)[n]) const {
    std::string allowed;
    for (std::size_t i = 0; i < n; ++i) {
      if (v.is_string() && v.get<std::string>() == names[i]) return static_cast<int>(i);
      allowed += std::string(i ? ", " : "") + "\"" + names[i] + "\"";
    }
    fail(where + " must be one of " + allowed + ", not " + v.dump());
  }

  WorldCapabilities capabilities(const json& v) const {
    const std::string where = "capabilities";
    if (!v.is_object()) fail(where + " must be an object");
    onlyKeys(v, {"virtualDisplayClasses", "screenRecording", "postEvents", "gpu", "newDisplayAppears",
                 "releasedDisplayLeaves", "shareableContent", "eventSource", "brightnessFunction", "systemVersion"},
             where);
    WorldCapabilities c;
    static constexpr const char* classes[] = {"present", "missing", "differentEncoding", "refusing"};
    static constexpr const char* gpus[] = {"present", "none", "shaderFails", "turnsBackwards"};
    if (v.contains("virtualDisplayClasses"))
      c.virtualDisplayClasses =
          WorldCapabilities::Classes(oneOf(v["virtualDisplayClasses"], where + ".virtualDisplayClasses", classes));
    if (v.contains("gpu")) c.gpu = WorldCapabilities::Gpu(oneOf(v["gpu"], where + ".gpu", gpus));
    for (auto [key, flag] : {std::pair{"screenRecording", &c.screenRecording}, {"postEvents", &c.postEvents},
                             {"newDisplayAppears", &c.newDisplayAppears},
                             {"releasedDisplayLeaves", &c.releasedDisplayLeaves}, {"shareableContent", &c.shareableContent},
                             {"eventSource", &c.eventSource}, {"brightnessFunction", &c.brightnessFunction}})
      if (v.contains(key)) *flag = boolean(v[key], where + "." + key);
    if (v.contains("systemVersion")) {
      const json& version = v["systemVersion"];
      if (!version.is_array() || version.size() != 3) fail(where + ".systemVersion must be [major, minor, patch]");
      for (std::size_t i = 0; i < 3; ++i) {
        const std::string at = where + ".systemVersion[" + std::to_string(i) + "]";
        const double part = between(version[i], at, i == 0 ? 10 : 0, 99);
        if (part != std::trunc(part)) outOfRange(version[i], at, i == 0 ? "a whole number from 10 to 99" : "a whole number from 0 to 99");
        c.systemVersion[i] = static_cast<int>(part);
      }
    }
    return c;
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
    double xywh[4];
    for (std::size_t i = 0; i < 4; ++i) {  // in order, so that the first bad one is named
      const double limit = i < 2 ? maxOrigin : maxSide;
      xywh[i] = between(b[i], where + ".bounds[" + std::to_string(i) + "]", i < 2 ? -limit : 0, limit);
    }
    d.bounds = Rect(xywh[0], xywh[1], xywh[2], xywh[3]);
    d.name = v.contains("name") ? string(v["name"], where + ".name") : "Display " + std::to_string(d.id);
    if (v.contains("vendor")) d.vendor = unsigned32(v["vendor"], where + ".vendor");
    if (v.contains("builtIn")) d.builtIn = boolean(v["builtIn"], where + ".builtIn");
    if (v.contains("mirrored")) d.mirrored = boolean(v["mirrored"], where + ".mirrored");
    if (v.contains("hasScreen")) d.hasScreen = boolean(v["hasScreen"], where + ".hasScreen");
    if (v.contains("uuid") && !v["uuid"].is_null()) d.uuid = string(v["uuid"], where + ".uuid");
    if (v.contains("scale")) {
      d.scale = finite(v["scale"], where + ".scale");
      if (d.scale != 0 && !(d.scale >= 1 && d.scale <= maxScale))
        outOfRange(v["scale"], where + ".scale", "0 or from 1 to 4");
    }
    // The pictures of a display are its mode's pixel size; the sides are rounded as the mode's are.
    for (const auto& [side, points] : {std::pair{"wide", d.bounds.width()}, {"high", d.bounds.height()}}) {
      const long long pixels = std::llround(points * d.scale);
      if (pixels > maxPixels)
        fail(where + " must be at most " + whole(maxPixels) + " pixels " + side + " (bounds × scale), not " +
             std::to_string(pixels));
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
  // Ordinary windows where the iPad is, so that finger touch has something to act on.
  SimAppWindow note{101, "Shopping List", Rect(1500, 60, 600, 420), 1, 0, 28, true, true,
                    {SimElement{"AXButton", Rect(20, 60, 120, 32)}}};
  SimAppWindow browser{201, "Welcome", Rect(1700, 400, 800, 560), 1, 0, 28, true, true,
                       {SimElement{"AXButton", Rect(40, 80, 160, 40)}, SimElement{"AXGroup", Rect(0, 140, 800, 420), true, {}}}};
  SimAppWindow terminal{301, "Shell", Rect(1560, 560, 500, 300), 1, 0, 28, true, true, {}};
  world.applications = {SimApplication{501, "Notes", {note}}, SimApplication{502, "Browser", {browser}},
                        SimApplication{503, "Terminal", {terminal}}};
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
  r.onlyKeys(root, {"displays", "applications", "capabilities"}, "the world");
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
  if (root.contains("applications")) {
    const json& apps = root["applications"];
    if (!apps.is_array()) r.fail("\"applications\" must be a list");
    std::set<ProcessID> pids;
    std::set<WindowNumber> numbers;
    for (std::size_t i = 0; i < apps.size(); ++i) {
      const std::string where = "applications[" + std::to_string(i) + "]";
      SimApplication app = r.application(apps[i], where);
      if (!pids.insert(app.pid).second) r.fail(where + ".pid " + std::to_string(app.pid) + " is used twice");
      for (const auto& w : app.windows)
        if (!numbers.insert(w.number).second) r.fail(where + " window number " + std::to_string(w.number) + " is used twice");
      world.applications.push_back(std::move(app));
    }
  }
  if (root.contains("capabilities")) world.capabilities = r.capabilities(root["capabilities"]);
  return world;
}

WorldDescription loadWorldFile(const std::string& path) {
  // A directory opens as a stream that reads nothing, which would pass for empty JSON.
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw WorldFileError(oneLine(path + ": is a directory, not a file"));
  std::ifstream in(path, std::ios::binary);
  if (!in) throw WorldFileError(oneLine(path + ": cannot be read"));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw WorldFileError(oneLine(path + ": cannot be read"));
  return parseWorld(text.str(), path);
}

}  // namespace turnlet::sim
