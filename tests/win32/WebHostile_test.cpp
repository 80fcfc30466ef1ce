// Misbehaving servers against both ways of fetching a page: each case ends in
// the result a failed or cut fetch gives, the window keeps answering while a
// timed request waits, and the next ordinary request works.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "WebTestServer.h"
#include "web/PageDownload_win32.h"
#include "web/Redirects.h"
#include "web/TimedRequest_win32.h"

namespace {

using webtest::NewTag;
using webtest::RecordedRequests;
using webtest::SystemProxyOverride;
using webtest::WebUrl;

constexpr int kTimeLimitSeconds = 4;

std::string SilentPortUrl() { return "http://127.0.0.1:" + std::to_string(webtest::ServerPorts()->silent) + "/"; }

struct HostileCase {
  const char* name;
  std::string path;           // on the test server; empty: the port that never answers
  std::string fetched;        // what FetchWithTimeout returns
  std::string downloaded;     // what DownloadPage returns
};

std::string Bytes(const char* text, std::size_t size) { return std::string(text, size); }

const std::vector<HostileCase>& HostileCases() {
  static const std::vector<HostileCase> cases = {
      {"NeverAnswers", "", "", ""},
      // The download's read fails at its silence limit and keeps what came.
      {"StallsInTheBody", "/stall/60", "", "xxxxxxxxxx"},
      {"ResetsTheConnection", "/reset", "", ""},
      {"EndlessBody", "/hostile/endless", "", ""},
      // Past the 1024-character buffer the headers are lost; the body is not.
      {"LongHeaderLines", "/hostile/longheaders", "after huge headers", "after huge headers"},
      // The same megabyte in short lines: WinINet under Wine takes about a
      // minute to put the raw header text of so many lines together, so the
      // timed request runs out of time first.
      {"ManyHeaderLines", "/hostile/hugeheaders", "", "after huge headers"},
      {"ChunkSizeNoNumber", "/hostile/badchunksize", "", ""},
      {"ChunkCutShort", "/hostile/chunkcut", "hello", "hello"},
      {"RedirectLoop", "/hostile/redirectloop", "", ""},
      // A body shorter than its length is returned as far as it came.
      {"LengthPastTheBody", "/hostile/shortbody", "0123456789", "0123456789"},
      // Bytes come back as they are; cutting at a zero byte or converting is
      // the callers' business.
      {"ZeroByteInBody", "/hostile/nul", Bytes("before\0after", 12), Bytes("before\0after", 12)},
      {"BodyNotUtf8", "/hostile/notutf8", "<p>\xC4\xFA\xB5\xC4IP\xB5\xD8\xD6\xB7:1.2.3.4<p>",
       "<p>\xC4\xFA\xB5\xC4IP\xB5\xD8\xD6\xB7:1.2.3.4<p>"},
  };
  return cases;
}

enum class Fetcher { kTimedRequest, kDownload };

// A hidden window on the test thread and a thread that sends to it every few
// hundred milliseconds while a request runs: a send that is not answered
// within two seconds counts as the window having stopped answering.
class AnswerWatch {
 public:
  AnswerWatch() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WebHostileAnswerWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    sender_ = std::thread([this] {
      while (!stop_) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0) {
          ++answered_;
        } else {
          ++unanswered_;
        }
        Sleep(200);
      }
      finished_ = true;
    });
  }
  // Stops the sender, answering its last send meanwhile.
  ~AnswerWatch() { Stop(); DestroyWindow(window_); }
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;

  void Stop() {
    if (!sender_.joinable()) return;
    stop_ = true;
    // The sender may be inside a send that only this thread can answer.
    while (!finished_) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
    sender_.join();
  }
  int unanswered() const { return unanswered_; }

 private:
  HWND window_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> answered_{0};
  std::atomic<int> unanswered_{0};
  std::thread sender_;
};

class WebHostile : public ::testing::TestWithParam<std::tuple<HostileCase, Fetcher>> {
 protected:
  void SetUp() override {
    WEBTEST_REQUIRE_SERVERS();
    // The download follows the system proxy: keep it switched off here.
    direct_.emplace();
    direct_->Set(false, 1);
  }

  static ByteArray Fetch(Fetcher fetcher, const std::string& url) {
    if (fetcher == Fetcher::kDownload) return DownloadPage(url);
    FetchArguments arguments;
    arguments.url = url;
    arguments.verb = "GET";
    arguments.timeLimitSeconds = kTimeLimitSeconds;
    return FetchWithTimeout(arguments);
  }

 private:
  std::optional<SystemProxyOverride> direct_;
};

TEST_P(WebHostile, EndsInItsResultAndTheNextRequestWorks) {
  const auto& [hostile, fetcher] = GetParam();
  const std::string tag = NewTag(hostile.name);
  const std::string url = hostile.path.empty() ? SilentPortUrl() : WebUrl(hostile.path + "?t=" + tag);

  ByteArray body;
  int unanswered = 0;
  {
    AnswerWatch watch;
    body = Fetch(fetcher, url);
    watch.Stop();
    unanswered = watch.unanswered();
  }
  EXPECT_EQ(body, fetcher == Fetcher::kDownload ? hostile.downloaded : hostile.fetched);
  // The download blocks the thread that calls it; the timed request never does.
  if (fetcher == Fetcher::kTimedRequest) {
    EXPECT_EQ(unanswered, 0);
  }
  if (std::string(hostile.name) == "RedirectLoop") {
    // The loop is cut off after the last hop allowed.
    EXPECT_EQ(RecordedRequests(tag).size(), static_cast<std::size_t>(kMaxRedirects) + 1);
  }

  const std::string next = NewTag("after");
  EXPECT_EQ(Fetch(fetcher, WebUrl("/echo?t=" + next)), "hello /echo?t=" + next);
}

std::string CaseName(const ::testing::TestParamInfo<WebHostile::ParamType>& info) {
  const auto& [hostile, fetcher] = info.param;
  return std::string(hostile.name) + (fetcher == Fetcher::kDownload ? "_Download" : "_TimedRequest");
}

INSTANTIATE_TEST_SUITE_P(Servers, WebHostile,
                         ::testing::Combine(::testing::ValuesIn(HostileCases()),
                                            ::testing::Values(Fetcher::kTimedRequest, Fetcher::kDownload)),
                         CaseName);

}  // namespace
