#include "sim/world/DisplayServer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace turnlet::sim {

namespace {
// CoreGraphics result codes the simulation reports.
constexpr DisplayError kErrorIllegalArgument = 1001;
constexpr DisplayError kErrorInvalidOperation = 1003;
}  // namespace

DisplayServer::DisplayServer(MainLoop& loop) : loop(loop) {}
DisplayServer::~DisplayServer() = default;

DisplayError DisplayServer::onlineDisplayList(std::span<DisplayID> buffer, std::uint32_t& count) {
  if (buffer.empty()) {
    if (failListCount) return *failListCount;
    count = static_cast<std::uint32_t>(online.size());
    if (betweenListCalls) std::exchange(betweenListCalls, nullptr)();
    return 0;
  }
  if (failListFill) return *failListFill;
  const std::size_t n = std::min(buffer.size(), online.size());
  for (std::size_t i = 0; i < n; ++i) buffer[i] = online[i].id;
  count = static_cast<std::uint32_t>(n);
  return 0;
}

Rect DisplayServer::bounds(DisplayID id) {
  const SimDisplay* d = find(id);
  return d ? d->bounds : Rect();
}
std::uint32_t DisplayServer::vendorNumber(DisplayID id) {
  const SimDisplay* d = find(id);
  return d ? d->vendor : 0;
}
bool DisplayServer::isBuiltin(DisplayID id) {
  const SimDisplay* d = find(id);
  return d && d->builtIn;
}
bool DisplayServer::isInMirrorSet(DisplayID id) {
  const SimDisplay* d = find(id);
  return d && d->mirrored;
}
DisplayID DisplayServer::mainDisplayID() { return find(mainID) ? mainID : 0; }
bool DisplayServer::isOnline(DisplayID id) { return find(id) != nullptr; }
std::optional<std::string> DisplayServer::uuidString(DisplayID id) {
  const SimDisplay* d = find(id);
  return d ? d->uuid : std::nullopt;
}

std::optional<PixelSize> DisplayServer::currentModePixelSize(DisplayID id) {
  const SimDisplay* d = find(id);
  if (!d || !(d->scale > 0)) return std::nullopt;
  return PixelSize{static_cast<std::uint64_t>(std::llround(d->bounds.width() * d->scale)),
                   static_cast<std::uint64_t>(std::llround(d->bounds.height() * d->scale))};
}

std::vector<ScreenInfo> DisplayServer::screens() {
  if (screenListOverride) return *screenListOverride;
  // The screen with the menu bar comes first; frames have their origin at the bottom-left corner
  // of the main display, y up.
  const double mainHeight = find(mainID) ? find(mainID)->bounds.height() : 0;
  std::vector<ScreenInfo> list;
  auto add = [&](const SimDisplay& d) {
    if (!d.hasScreen) return;
    const Rect& b = d.bounds;
    list.push_back({d.id, d.name, Rect(b.minX(), mainHeight - b.maxY(), b.width(), b.height())});
  };
  if (const SimDisplay* m = find(mainID)) add(*m);
  for (const SimDisplay& d : online)
    if (d.id != mainID) add(d);
  return list;
}

DisplayError DisplayServer::beginConfiguration(std::optional<DisplayConfiguration>& config) {
  config.reset();
  if (failBegin) return *failBegin;
  if (beginWithoutConfiguration) return 0;
  if (open) return kErrorInvalidOperation;
  open = OpenConfiguration{nextConfiguration++, {}, 0};
  config = open->handle;
  return 0;
}

bool DisplayServer::isOpen(DisplayConfiguration config) {
  if (open && open->handle == config) return true;
  ++deadUses;
  return false;
}

DisplayError DisplayServer::configureOrigin(DisplayConfiguration config, DisplayID id, std::int32_t x, std::int32_t y) {
  if (!isOpen(config)) return kErrorIllegalArgument;
  const int call = open->originCalls++;
  if (failOrigin && failOrigin->first == call) return failOrigin->second;
  if (!find(id)) return kErrorIllegalArgument;
  open->origins.emplace_back(id, Point{static_cast<double>(x), static_cast<double>(y)});
  return 0;
}

DisplayError DisplayServer::completeConfiguration(DisplayConfiguration config, std::uint32_t option) {
  if (!isOpen(config)) return kErrorIllegalArgument;
  // Completion ends the transaction whether or not it succeeds.
  LayoutChange change{std::move(open->origins)};
  open.reset();
  if (failComplete) return *failComplete;
  bool moved = false;
  for (auto& [id, origin] : change.origins) {
    if (SimDisplay* d = findMutable(id)) {
      moved = moved || d->bounds.origin != origin;
      d->bounds.origin = origin;
      if (option != 0) arranged[id] = origin;  // a permanent change is the user's arrangement now
    }
  }
  layouts.push_back(std::move(change));
  if (moved) notifyScreenParameters();
  return 0;
}

DisplayError DisplayServer::cancelConfiguration(DisplayConfiguration config) {
  if (!isOpen(config)) return kErrorIllegalArgument;
  open.reset();
  ++cancelled;
  return 0;
}

DisplayServices::ObserverToken DisplayServer::addScreenParametersObserver(std::function<void()> block) {
  const ObserverToken token = nextToken++;
  observers.emplace(token, std::move(block));
  return token;
}

void DisplayServer::removeScreenParametersObserver(ObserverToken token) { observers.erase(token); }

void DisplayServer::setUp(std::vector<SimDisplay> displays, DisplayID main) {
  online = std::move(displays);
  offline.clear();
  arranged.clear();
  for (const SimDisplay& d : online) arranged[d.id] = d.bounds.origin;
  mainID = main != 0 ? main : (online.empty() ? 0 : online.front().id);
}

void DisplayServer::connect(SimDisplay display) {
  if (display.id == 0) display.id = nextFreeID();
  if (find(mainID) == nullptr) mainID = display.id;
  std::erase_if(offline, [&](const SimDisplay& d) { return d.id == display.id; });
  arranged[display.id] = display.bounds.origin;
  online.push_back(std::move(display));
  notifyScreenParameters();
}

void DisplayServer::disconnect(DisplayID id) {
  auto it = std::find_if(online.begin(), online.end(), [&](const SimDisplay& d) { return d.id == id; });
  if (it == online.end()) return;
  offline.push_back(*it);
  // What the program changed for itself ends with the connection.
  if (auto a = arranged.find(id); a != arranged.end()) offline.back().bounds.origin = a->second, arranged.erase(a);
  online.erase(it);
  if (mainID == id) mainID = online.empty() ? 0 : online.front().id;
  notifyScreenParameters();
}

DisplayID DisplayServer::reconnect(DisplayID id) {
  auto it = std::find_if(offline.begin(), offline.end(), [&](const SimDisplay& d) { return d.id == id; });
  if (it == offline.end()) return 0;
  SimDisplay display = *it;
  display.id = nextFreeID();  // before erasing, so the old id is not handed out again
  offline.erase(it);
  const DisplayID fresh = display.id;
  connect(std::move(display));
  return fresh;
}

void DisplayServer::setBounds(DisplayID id, Rect bounds) {
  if (SimDisplay* d = findMutable(id)) {
    d->bounds = bounds;
    arranged[id] = bounds.origin;
    notifyScreenParameters();
  }
}

void DisplayServer::setMain(DisplayID id) {
  if (find(id)) {
    mainID = id;
    notifyScreenParameters();
  }
}

void DisplayServer::setMirrored(DisplayID id, bool mirrored) {
  if (SimDisplay* d = findMutable(id)) {
    d->mirrored = mirrored;
    notifyScreenParameters();
  }
}

void DisplayServer::setHasScreen(DisplayID id, bool hasScreen) {
  if (SimDisplay* d = findMutable(id)) d->hasScreen = hasScreen;
}

DisplayID DisplayServer::nextFreeID() const {
  DisplayID id = highestReserved + 1;
  for (const auto* list : {&online, &offline})
    for (const SimDisplay& d : *list) id = std::max(id, d.id + 1);
  return id;
}

DisplayID DisplayServer::reserveID() {
  highestReserved = nextFreeID();
  return highestReserved;
}

const SimDisplay* DisplayServer::find(DisplayID id) const {
  for (const SimDisplay& d : online)
    if (d.id == id) return &d;
  return nullptr;
}

SimDisplay* DisplayServer::findMutable(DisplayID id) { return const_cast<SimDisplay*>(std::as_const(*this).find(id)); }

void DisplayServer::notifyScreenParameters() {
  loop.post([this, weak = std::weak_ptr<bool>(alive)] {
    if (weak.expired()) return;
    ++notifications;
    std::vector<ObserverToken> tokens;
    for (auto& entry : observers) tokens.push_back(entry.first);
    // An observer removed by an earlier block of this round is not called.
    for (ObserverToken token : tokens) {
      auto it = observers.find(token);
      if (it == observers.end()) continue;
      auto block = it->second;
      block();
    }
  });
}

}  // namespace turnlet::sim
