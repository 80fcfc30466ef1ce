// Ending the program while a request is waited on. Runs in a process of its
// own: once the program is ending it stays so.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "WebTestServer.h"
#include "app/MessagePump_win32.h"
#include "web/TimedRequest_win32.h"

namespace {

TEST(WebEnding, QuitInsideTheWaitGivesUpAtOnceAndLaterRequestsSendNothing) {
  WEBTEST_REQUIRE_SERVERS();
  const DWORD self = GetCurrentThreadId();
  std::thread quitter([self] {
    Sleep(500);
    PostThreadMessageW(self, WM_QUIT, 3, 0);
  });
  FetchArguments hanging;
  hanging.url = webtest::WebUrl("/hang/30?t=" + webtest::NewTag("ending"));
  hanging.timeLimitSeconds = 60;
  // Without giving up, the wait would last until the server's late answer.
  EXPECT_EQ(FetchWithTimeout(hanging), "");
  quitter.join();
  EXPECT_TRUE(ProgramIsEnding());

  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));  // left for the outer loop

  const std::string tag = webtest::NewTag("after-end");
  FetchArguments later;
  later.url = webtest::WebUrl("/echo?t=" + tag);
  EXPECT_EQ(FetchWithTimeout(later), "");
  EXPECT_TRUE(webtest::RecordedRequests(tag).empty());
}

}  // namespace
