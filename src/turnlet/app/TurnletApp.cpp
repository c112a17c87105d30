#include "app/TurnletApp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "app/ProgramVersion.h"
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

std::string TurnletApp::version(const std::string& buildDetails) {
  return std::string("Turnlet ") + programVersion + "\n" + buildDetails;
}

bool TurnletApp::answerAtOnce(const CommandLine& line, std::ostream& out, const std::string& buildDetails) {
  if (line.mode == CommandLine::Mode::help)
    out << CommandLine::help();
  else if (line.mode == CommandLine::Mode::version)
    out << version(buildDetails);
  else
    return false;
  out.flush();
  return true;
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

int TurnletApp::main(const CommandLine& line, DisplayServices& displays, std::ostream& out,
                     const std::function<void()>& application) {
  if (line.mode == CommandLine::Mode::listDisplays) {
    listDisplays(displays, out);
  } else if (line.mode == CommandLine::Mode::application && application) {
    application();
  }
  return 0;
}

}  // namespace turnlet
