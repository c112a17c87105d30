#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/TurnletApp.h"
#include "macos/app/TerminateSequence.h"
#include "session/SessionFixture.h"
#include "support/SimulatedProgram.h"
#include "sim/app/RecordingApplication.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

struct CountingDelegate final : ApplicationDelegate {
  void didFinishLaunching() override {}
  bool shouldHandleReopen(bool) override { return true; }
  TerminateReply shouldTerminate() override { return ++asked, answer; }
  TerminateReply answer = TerminateReply::later;
  int asked = 0;
};

// The Mac application's terminate path over the recording toolkit: its own terminate() reaches
// "AppKit" only when the sequence accepts; AppKit asks the delegate through the sequence; a reply
// reaches AppKit only through it (`platformReplies`), and a true one ends the application.
struct SequencedApplication final : sim::RecordingApplication {
  void terminate() override {
    ++requests;
    if (sequence.accepts()) appKitRequest();
  }
  // A request AppKit makes by itself (the Dock's Quit, logging out).
  TerminateReply appKitRequest() {
    const TerminateReply answer = sequence.request(delegate.lock().get());
    if (answer == TerminateReply::now) end();
    return answer;
  }
  void replyToTerminate(bool terminate) override {
    if (!sequence.reply(terminate)) return;
    ++platformReplies;
    if (terminate) end();
  }
  void end() {
    ++ends;
    if (onEnd) onEnd();
  }

  TerminateSequence sequence;
  int requests = 0, platformReplies = 0, ends = 0;
  std::function<void()> onEnd;
};

}  // namespace

TEST(MacTerminateSequence, OneReplyReachesAppKitPerPendingRequest) {
  struct Row {
    const char* name;
    TerminateReply answer;
    std::vector<std::string> steps;  // "ask", "reply yes", "reply no"
    std::vector<std::string> results;
    int asked;
    bool ending;
  };
  const std::vector<Row> rows = {
      {"now ends at once", TerminateReply::now, {"ask", "ask"}, {"now", "cancel"}, 1, true},
      {"cancel may be asked again", TerminateReply::cancel, {"ask", "ask"}, {"cancel", "cancel"}, 2, false},
      {"later waits for the reply", TerminateReply::later, {"ask", "reply yes", "reply yes"},
       {"later", "passed", "dropped"}, 1, true},
      {"a request while pending is refused unasked", TerminateReply::later, {"ask", "ask", "reply yes"},
       {"later", "cancel", "passed"}, 1, true},
      {"a refusing reply lets a later request ask again", TerminateReply::later,
       {"ask", "reply no", "reply yes", "ask"}, {"later", "passed", "dropped", "later"}, 2, false},
      {"a reply with nothing pending is dropped", TerminateReply::later, {"reply yes", "ask"}, {"dropped", "later"}, 1,
       false},
  };
  const auto name = [](TerminateReply r) {
    return r == TerminateReply::now ? "now" : r == TerminateReply::cancel ? "cancel" : "later";
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CountingDelegate delegate;
    delegate.answer = row.answer;
    TerminateSequence sequence;
    std::vector<std::string> results;
    for (const auto& step : row.steps) {
      if (step == "ask") results.push_back(name(sequence.request(&delegate)));
      else results.push_back(sequence.reply(step == "reply yes") ? "passed" : "dropped");
    }
    EXPECT_EQ(results, row.results);
    EXPECT_EQ(delegate.asked, row.asked);
    EXPECT_EQ(sequence.ending(), row.ending);
    EXPECT_EQ(sequence.accepts(), !row.ending && !sequence.pending());
  }
  TerminateSequence alone;
  EXPECT_EQ(alone.request(nullptr), TerminateReply::now);  // no delegate: terminate now
}

namespace {

// The program on the small simulated Mac with the Mac application's terminate path; `atEnd` is
// what was left of a rotation when the application ended.
struct QuitFixture : SimulatedProgram {
  QuitFixture() {
    app.onEnd = [this] { atEnd = remains(); };
  }
  ~QuitFixture() {
    loop.advance(5);
    if (app.ends == 0) app.terminate(), loop.advance(10);
  }

  SequencedApplication app;
  Remains atEnd;
  std::shared_ptr<AppDelegate> delegate = makeDelegate(app);
};

}  // namespace

// Quit, a second Quit, SIGINT/SIGTERM (the delegate's terminationSignal, as the signal sources
// deliver it), a request of AppKit's own while the reply is pending, a failing shutdown: AppKit
// gets exactly one reply, after the iPad is back in its place.
TEST(MacTerminateSequence, TheReplyComesOnceAfterTheIPadIsBack) {
  struct Row {
    const char* name;
    bool busy;          // the request comes while a rotation is being applied
    std::string first;  // "quit" or "signal"
    std::string second;  // "", "quit", "signal" or "appkit" while the first waits
    bool ends;
    bool fails = false;  // the shutdown ends by an exception
  };
  const std::vector<Row> rows = {
      {"quit while rotated", false, "quit", "", true},
      {"quit twice", false, "quit", "quit", true},
      {"signal while rotated", false, "signal", "", true},
      {"signal while busy waits for the operation", true, "signal", "", true},
      {"quit while busy is refused", true, "quit", "", false},
      {"logout while the reply is pending", false, "quit", "appkit", true},
      {"signal while the reply is pending", false, "quit", "signal", true},
      {"failing shutdown", false, "quit", "", true, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto f = std::make_unique<QuitFixture>();
    TurnletApp::runApplication(f->app, f->delegate);
    f->loop.advance(2);
    f->app.statusItems.at(0)->menu->item("Rotate").click();
    f->loop.advance(row.busy ? 0.05 : 2);
    ASSERT_EQ(f->delegate->session().state().busy, row.busy);
    if (row.fails) f->world.displays.failComplete = 1000, f->log.throws = true;
    const auto send = [&](const std::string& what) {
      if (what == "quit") f->app.mainMenu->item("Turnlet").submenu->item("Quit Turnlet").click();
      if (what == "signal") f->delegate->terminationSignal();
      if (what == "appkit") {
        EXPECT_EQ(f->app.appKitRequest(), TerminateReply::cancel);
      }
    };
    send(row.first);
    if (!row.second.empty()) send(row.second);
    EXPECT_EQ(f->app.ends, 0);  // never before the shutdown
    f->loop.advance(5);
    EXPECT_EQ(f->app.ends, row.ends ? 1 : 0);
    EXPECT_EQ(f->app.platformReplies, row.ends ? 1 : 0);
    EXPECT_EQ(f->app.beeps, row.ends ? 0 : 1);
    if (row.ends && !row.fails) {
      EXPECT_EQ(f->atEnd.virtualDisplays, 0);
      EXPECT_EQ(f->atEnd.ipadOrigin, (Point{40, 0}));
    }
    EXPECT_FALSE(f->app.sequence.pending());
  }
}
