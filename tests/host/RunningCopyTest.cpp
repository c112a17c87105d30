#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/RunLoop.h"
#include "host/RunningCopy.h"

using namespace turnlet;
using host::RunningCopy;
namespace fs = std::filesystem;

TEST(RunningCopy, ASecondLaunchReopensTheFirstAndACrashedCopyBlocksNothing) {
  std::string folder = (fs::temp_directory_path() / "turnlet-running-XXXXXX").string();
  ASSERT_TRUE(::mkdtemp(folder.data()));
  const fs::path settings = fs::path(folder) / "turnlet" / "defaults.json";  // the folder is made
  host::RunLoop loop;
  int reopened = 0;
  {
    auto first = RunningCopy::claim(settings);
    ASSERT_TRUE(first);
    EXPECT_FALSE(RunningCopy::claim(settings));
    EXPECT_TRUE(RunningCopy::askToReopen(settings));  // before it listens: kept until then
    first->listen(loop, [&] { ++reopened, loop.stop(); });
    loop.schedule(10, [&] { loop.stop(); });  // a watchdog, not a wait
    loop.run();
    EXPECT_EQ(reopened, 1);
  }
  // A copy that ends without cleaning up, as a crash would.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(RunningCopy::claim(settings) ? 0 : 1);
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(RunningCopy::claim(settings));
  fs::remove_all(folder);
}
