#include "app/TurnletApp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "display/DisplayInfo.h"
#include "platform/OneLine.h"

namespace turnlet {

namespace {

// Points to a whole number, dropping the fraction; values no integer can hold are clamped.
std::int64_t truncatedPoints(double value) {
  if (std::isnan(value)) return 0;
  constexpr double limit = 9.2e18;
  return static_cast<std::int64_t>(std::clamp(std::trunc(value), -limit, limit));
}

const char* text(bool value) { return value ? "true" : "false"; }

}  // namespace

bool TurnletApp::wantsDisplayListing(const std::vector<std::string>& arguments) {
  return std::find(arguments.begin(), arguments.end(), "--list-displays") != arguments.end();
}

void TurnletApp::listDisplays(DisplayServices& displays, std::ostream& out) {
  for (const DisplayInfo& d : DisplayInfo::online(displays)) {
    out << d.id << '\t' << oneLine(d.name) << '\t' << truncatedPoints(d.bounds.size.width) << "\u00D7"
        << truncatedPoints(d.bounds.size.height) << "\tmain=" << text(d.main) << " builtIn=" << text(d.builtIn)
        << " vendor=" << d.vendor << '\n';
  }
  out.flush();
}

void TurnletApp::runApplication(Application& application, const std::shared_ptr<ApplicationDelegate>& delegate) {
  application.setDelegate(delegate);
  application.setActivationPolicy(ActivationPolicy::regular);
  application.run();
}

int TurnletApp::main(const std::vector<std::string>& arguments, DisplayServices& displays, std::ostream& out,
                     const std::function<void()>& application) {
  if (wantsDisplayListing(arguments)) {
    listDisplays(displays, out);
  } else if (application) {
    application();
  }
  return 0;
}

}  // namespace turnlet
