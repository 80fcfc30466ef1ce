// The timed request against the loopback test server: what goes over the
// wire, the time limit with windows still answering, giving up a worker.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "WebTestServer.h"
#include "app/MessagePump_win32.h"
#include "web/TimedRequest_win32.h"

namespace {

using webtest::HeaderLine;
using webtest::NewTag;
using webtest::RecordedRequests;
using webtest::WebUrl;

constexpr const char* kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

FetchArguments Get(const std::string& url, std::optional<int> limit = 10) {
  FetchArguments arguments;
  arguments.url = url;
  arguments.verb = "GET";
  arguments.timeLimitSeconds = limit;
  return arguments;
}

std::string ProxyAddress(int port) { return "127.0.0.1:" + std::to_string(port); }

// Waits (bounded) until no more workers run than before: the ones given up
// since have ended. Workers of earlier tests that wait on a silent port may
// still run, and are part of the count before.
bool WorkersEndDownTo(int before) {
  for (int i = 0; i < 100 && RunningTimedRequestWorkers() > before; ++i) Sleep(100);
  return RunningTimedRequestWorkers() <= before;
}

// A hidden window that counts what reaches it while a request is waited on.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &CountingWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WebTestCountingWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"WebTestCountingWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                              nullptr, windowClass.hInstance, this);
  }
  ~CountingWindow() { DestroyWindow(window_); }
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  HWND get() const { return window_; }
  int pings = 0;
  int closes = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_APP) {
      ++self->pings;
      return 0;
    }
    if (self != nullptr && message == WM_CLOSE) {
      ++self->closes;  // kept open: the test owns the window
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

// Posts a message to the window every interval, count times, from its own
// thread: window input that arrives while the request is waited on.
class Pinger {
 public:
  Pinger(HWND window, UINT message, WPARAM wParam, int count, std::chrono::milliseconds interval)
      : thread_([=] {
          for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_for(interval);
            PostMessageW(window, message, wParam, 0);
          }
        }) {}
  ~Pinger() { thread_.join(); }

 private:
  std::thread thread_;
};

class WebTimedRequest : public ::testing::Test {
 protected:
  void SetUp() override { WEBTEST_REQUIRE_SERVERS(); }
};

TEST_F(WebTimedRequest, SendsABrowserLikeGetWithTheCallersLinesFirst) {
  const std::string tag = NewTag("get");
  const std::string url = WebUrl("/echo?t=" + tag);
  FetchArguments arguments = Get(url);
  arguments.extraHeaders = "X-Extra: 1\r\n";
  std::string headers;
  arguments.responseHeaders = &headers;

  EXPECT_EQ(FetchWithTimeout(arguments), "hello /echo?t=" + tag);
  EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << headers;

  const std::vector<std::string> requests = RecordedRequests(tag);
  ASSERT_EQ(requests.size(), 1u);
  const std::string& sent = requests[0];
  EXPECT_EQ(sent.rfind("GET /echo?t=" + tag + " HTTP/1.1\r\n", 0), 0u) << sent;
  EXPECT_EQ(HeaderLine(sent, "User-Agent"), kAgentLine);
  EXPECT_EQ(HeaderLine(sent, "Accept-Language"), "Accept-Language: zh-cn");
  EXPECT_EQ(HeaderLine(sent, "Referer"), "Referer: " + url);
  EXPECT_EQ(HeaderLine(sent, "Via"), "");
  const std::size_t extra = sent.find("X-Extra: 1\r\n");
  const std::size_t accept = sent.find("Accept: image/gif, image/x-xbitmap");
  const std::size_t referer = sent.find("Referer: ");
  const std::size_t language = sent.find("Accept-Language: zh-cn");
  ASSERT_NE(extra, std::string::npos);
  ASSERT_NE(accept, std::string::npos);
  EXPECT_LT(extra, accept);
  EXPECT_LT(accept, referer);
  EXPECT_LT(referer, language);
}

TEST_F(WebTimedRequest, VerbsDecideWhatIsSent) {
  struct Case {
    const char* verb;
    const char* body;
    bool answered;
    const char* requestLineStart;
  };
  const Case cases[] = {
      {"", "", true, "GET "},
      {"get", "", true, "get "},  // the verb goes out as given
      {"POST", "a=1", true, "POST "},
      {"post", "", true, "post "},
      {"HEAD", "", false, nullptr},  // nothing at all is sent
      {"PUT", "a=1", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.verb);
    const std::string tag = NewTag("verb");
    FetchArguments arguments = Get(WebUrl("/echo?t=" + tag));
    arguments.verb = c.verb;
    arguments.body = c.body;
    const ByteArray body = FetchWithTimeout(arguments);
    const std::vector<std::string> requests = RecordedRequests(tag);
    if (!c.answered) {
      EXPECT_EQ(body, "");
      EXPECT_TRUE(requests.empty());
      continue;
    }
    EXPECT_EQ(body, "hello /echo?t=" + tag);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind(c.requestLineStart, 0), 0u) << requests[0];
  }
}

TEST_F(WebTimedRequest, PostSendsItsBodyWithTypeAndLength) {
  const std::string tag = NewTag("post");
  FetchArguments arguments = Get(WebUrl("/echo?t=" + tag));
  arguments.verb = "POST";
  arguments.body = "a=1";
  FetchWithTimeout(arguments);
  const std::vector<std::string> requests = RecordedRequests(tag);
  ASSERT_EQ(requests.size(), 1u);
  const std::string& sent = requests[0];
  EXPECT_EQ(HeaderLine(sent, "Content-Type"), "Content-Type: application/x-www-form-urlencoded");
  EXPECT_EQ(HeaderLine(sent, "Content-Length"), "Content-Length: 3");
  EXPECT_LT(sent.find("Accept-Language: zh-cn"), sent.find("Content-Type: "));
  EXPECT_EQ(sent.substr(sent.size() - 7), "\r\n\r\na=1");

  const std::string emptyTag = NewTag("post-empty");
  arguments.url = WebUrl("/echo?t=" + emptyTag);
  arguments.body.clear();
  FetchWithTimeout(arguments);
  const std::vector<std::string> empty = RecordedRequests(emptyTag);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(HeaderLine(empty[0], "Content-Type"), "");
  EXPECT_EQ(empty[0].substr(empty[0].size() - 4), "\r\n\r\n");
}

TEST_F(WebTimedRequest, ANamedProxyCarriesTheRequestABlankOneDoesNot) {
  const webtest::Ports& ports = *webtest::ServerPorts();
  struct Case {
    std::string proxy;
    bool throughProxy;
  };
  const Case cases[] = {{ProxyAddress(ports.proxy), true}, {"  ", false}, {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proxy);
    const std::string tag = NewTag("proxy");
    FetchArguments arguments = Get(WebUrl("/echo?t=" + tag));
    arguments.proxy = c.proxy;
    EXPECT_EQ(FetchWithTimeout(arguments), "hello /echo?t=" + tag);
    const std::vector<std::string> requests = RecordedRequests(tag);
    ASSERT_EQ(requests.size(), 1u);
    const std::string via = HeaderLine(requests[0], "Via");
    EXPECT_EQ(via.find("tinyproxy") != std::string::npos, c.throughProxy) << via;
  }
}

TEST_F(WebTimedRequest, CredentialsAnswerAChallengeBlankOnesAreNotGiven) {
  // Blank first: WinINet remembers credentials that worked for a server.
  FetchArguments arguments = Get(WebUrl("/auth"));
  arguments.userName = "  ";
  arguments.password = "\xA1\xA1";  // a full-width space is blank too
  EXPECT_EQ(FetchWithTimeout(arguments), "denied");
  arguments.userName = "u";
  arguments.password = "p";
  EXPECT_EQ(FetchWithTimeout(arguments), "authorized Basic dTpw");
}

TEST_F(WebTimedRequest, UnreachablePlacesGiveNothing) {
  const webtest::Ports& ports = *webtest::ServerPorts();
  FetchArguments deadProxy = Get(WebUrl("/echo?t=" + NewTag("dead-proxy")), 3);
  deadProxy.proxy = ProxyAddress(ports.closed);
  EXPECT_EQ(FetchWithTimeout(deadProxy), "");
  EXPECT_EQ(FetchWithTimeout(Get("http://127.0.0.1:" + std::to_string(ports.closed) + "/", 3)), "");
  EXPECT_EQ(FetchWithTimeout(Get("http://127.0.0.1:" + std::to_string(ports.silent) + "/", 2)), "");
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/reset?t=" + NewTag("reset")), 3)), "");
  // A port beyond 16 bits is refused, not cut down to some other port.
  EXPECT_EQ(FetchWithTimeout(Get("http://127.0.0.1:" + std::to_string(ports.web + 65536) + "/echo", 3)), "");
}

TEST_F(WebTimedRequest, ErrorPagesRedirectsAndCutBodiesAreReturnedAsTheyCome) {
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/notfound"))), "no such page");
  const std::string tag = NewTag("redirected");
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/redirect?to=/echo%3Ft%3D" + tag))), "hello /echo?t=" + tag);
  // A connection reset inside the body: what arrives is the beginning of the
  // body or nothing, never anything else.
  const ByteArray cut = FetchWithTimeout(Get(WebUrl("/cut")));
  EXPECT_LE(cut.size(), 10u);
  EXPECT_EQ(cut, std::string(cut.size(), 'x'));
}

TEST_F(WebTimedRequest, AHeaderBlockOverTheBufferStillGivesTheBody) {
  std::string headers;
  FetchArguments arguments = Get(WebUrl("/bigheaders"));
  arguments.responseHeaders = &headers;
  EXPECT_EQ(FetchWithTimeout(arguments), "big headers body");
  EXPECT_EQ(headers, std::string(1024, ' '));
}

TEST_F(WebTimedRequest, CookiesAreStoredForTheWholeHost) {
  // WinINet files a cookie without a path under the request's folder; the
  // request stores it again for the host itself, so it is sent everywhere.
  FetchWithTimeout(Get(WebUrl("/deep/folder/cookie?t=" + NewTag("cookie"))));
  char cookies[2048] = {};
  DWORD size = sizeof cookies;
  ASSERT_TRUE(InternetGetCookieA("http://127.0.0.1/elsewhere", nullptr, cookies, &size));
  const std::string stored(cookies);
  EXPECT_NE(stored.find("h2plain=v1"), std::string::npos) << stored;
  EXPECT_NE(stored.find("h2path=v2"), std::string::npos) << stored;
  EXPECT_NE(stored.find("h2case=v3"), std::string::npos) << stored;
}

TEST_F(WebTimedRequest, ABodyPastTheGuardCountsAsFailed) {
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/size/1000000"), 30)).size(), 1000000u);
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/size/67108865/nolength"), 60)), "");
}

std::vector<std::pair<int, int>> progressReports;
std::atomic<DWORD> progressThread{0};
void RecordProgress(int percent, int finished) {
  progressReports.emplace_back(percent, finished);
  if (finished == 0) progressThread = GetCurrentThreadId();
}

TEST_F(WebTimedRequest, ProgressClimbsAndEndsWithTheFinalReport) {
  progressReports.clear();
  FetchArguments arguments = Get(WebUrl("/size/61440/nolength"));  // 120 reads, no length: 1..99, 1..21
  arguments.progress = &RecordProgress;
  EXPECT_EQ(FetchWithTimeout(arguments).size(), 61440u);
  ASSERT_FALSE(progressReports.empty());
  EXPECT_EQ(progressReports.back(), std::make_pair(100, 1));
  EXPECT_EQ(progressReports.front(), std::make_pair(1, 0));
  bool wrapped = false;
  for (std::size_t i = 1; i + 1 < progressReports.size(); ++i) {
    if (progressReports[i - 1].first == 99 && progressReports[i].first == 1) wrapped = true;
  }
  EXPECT_TRUE(wrapped);
  EXPECT_NE(progressThread.load(), GetCurrentThreadId());
}

TEST_F(WebTimedRequest, AtTheLimitTheWorkerIsGivenUpWhileWindowsKeepAnswering) {
  const int workersBefore = RunningTimedRequestWorkers();
  CountingWindow window;
  SetKeyboardWindow(window.get());
  const std::string tag = NewTag("hang");
  std::string lateHeaders = "unset";
  {
    Pinger ping(window.get(), WM_APP, 0, 2, std::chrono::milliseconds(300));
    Pinger escape(window.get(), WM_KEYDOWN, VK_ESCAPE, 1, std::chrono::milliseconds(900));
    FetchArguments arguments = Get(WebUrl("/hang/5?t=" + tag), 2);
    arguments.responseHeaders = &lateHeaders;
    EXPECT_EQ(FetchWithTimeout(arguments), "");
  }
  SetKeyboardWindow(nullptr);
  EXPECT_EQ(window.pings, 2);
  EXPECT_EQ(window.closes, 1);  // Esc inside the wait closes the keyboard window
  EXPECT_EQ(lateHeaders, "");
  EXPECT_EQ(RecordedRequests(tag).size(), 1u);

  // The next request runs while the given-up worker still waits for its
  // server, and gets only its own answer.
  const std::string next = NewTag("after-hang");
  std::string headers;
  FetchArguments arguments = Get(WebUrl("/echo?t=" + next));
  arguments.responseHeaders = &headers;
  EXPECT_EQ(FetchWithTimeout(arguments), "hello /echo?t=" + next);
  EXPECT_EQ(headers.find("late answer"), std::string::npos);

  // When the late answer comes, the worker ends by itself and nothing of it
  // reaches the caller.
  EXPECT_TRUE(WorkersEndDownTo(workersBefore));
  EXPECT_EQ(lateHeaders, "");
}

TEST_F(WebTimedRequest, InputKeepsTheWaitAlivePastTheLimit) {
  // The limit is the longest stretch without window input: with a message
  // every half second, a two-second limit never runs out while the server
  // takes four seconds.
  CountingWindow window;
  Pinger ping(window.get(), WM_APP, 0, 10, std::chrono::milliseconds(500));
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/hang/4?t=" + NewTag("kept")), 2)), "late answer");
}

TEST_F(WebTimedRequest, ASilentStallGivesNothingAtTheLimit) {
  // Same server delay without input: the two-second limit ends the wait.
  const int workersBefore = RunningTimedRequestWorkers();
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/hang/4?t=" + NewTag("stalled")), 2)), "");
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/stall/3"), 2)), "");
  EXPECT_TRUE(WorkersEndDownTo(workersBefore));
}

}  // namespace

namespace {

TEST_F(WebTimedRequest, MessagesSentFromOtherThreadsAreAnsweredButDoNotKeepTheWaitAlive) {
  // Another thread (or process) that sends to the window during a wait gets
  // its answer during the wait, not when the request ends; such calls are not
  // window input, so the two-second limit still ends a four-second request.
  CountingWindow window;
  int answered = 0;
  std::thread sender([&] {
    for (int i = 0; i < 8; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(window.get(), WM_APP, 0, 0, SMTO_NORMAL, 1500, &result) != 0) ++answered;
    }
  });
  EXPECT_EQ(FetchWithTimeout(Get(WebUrl("/hang/4?t=" + NewTag("sent")), 2)), "");
  sender.join();
  EXPECT_GE(answered, 5);
  EXPECT_EQ(window.pings, answered);
}

}  // namespace
