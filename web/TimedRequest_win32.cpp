#include "web/TimedRequest_win32.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <atomic>
#include <climits>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "app/MessagePump_win32.h"
#include "sources/text/GbkText.h"
#include "web/CookieLines.h"
#include "web/HttpAddress_win32.h"
#include "web/Redirects.h"
#include "web/RequestHandoff.h"
#include "web/RequestProgress.h"
#include "web/RequestRules.h"
#include "web/UrlParts.h"

namespace {

constexpr DWORD kHeaderBufferChars = 1024;
constexpr int kSilenceMarginSeconds = 60;

std::atomic<int> runningWorkers{0};

enum HandleSlot { kInternetSlot, kConnectionSlot, kRequestSlot, kSlotCount };

// What the front and the worker of one request share. Both hold a reference,
// so a front that gives up at the time limit returns at once while the worker
// ends on its own later; what the worker then writes is never read.
struct Exchange {
  Exchange(int limitSeconds, ProgressRoutine routine) : timeLimitSeconds(limitSeconds), progress(routine) {}

  const int timeLimitSeconds;
  std::mutex lock;
  RequestHandoff handoff;                 // guarded by lock
  HINTERNET handles[kSlotCount] = {};     // the worker's WinINet handles; guarded by lock
  bool abandoned = false;                 // guarded by lock
  ProgressReporter progress;
};

using SlotHandles = std::array<HINTERNET, kSlotCount>;

// Empties the slots and hands their handles to the caller, who closes them
// after letting go of the lock: whichever side gets there first, the worker
// when it is done or the front when it gives up. Closing the handles from the
// front is how a blocked WinINet call is made to return.
SlotHandles TakeSlots(Exchange& exchange) {
  SlotHandles taken{};
  for (int slot = 0; slot < kSlotCount; ++slot) std::swap(taken[slot], exchange.handles[slot]);
  return taken;
}

// Request first, then connection, then the internet handle.
void CloseHandles(const SlotHandles& handles) {
  for (int slot = kSlotCount - 1; slot >= 0; --slot) {
    if (handles[slot] != nullptr) InternetCloseHandle(handles[slot]);
  }
}

// The worker's view of its handles. Each handle goes into the exchange as
// soon as it is open, and is fetched from there before every call, so once
// the front has given up (and closed them) the worker stops using them.
class WorkerHandles {
 public:
  explicit WorkerHandles(Exchange& exchange) : exchange_(exchange) {}
  ~WorkerHandles() { CloseAll(); }
  WorkerHandles(const WorkerHandles&) = delete;
  WorkerHandles& operator=(const WorkerHandles&) = delete;

  // Takes over a handle just opened; false when it is null or the request
  // has been given up meanwhile.
  bool Keep(HandleSlot slot, HINTERNET handle) {
    if (handle == nullptr) return false;
    {
      std::lock_guard<std::mutex> guard(exchange_.lock);
      if (!exchange_.abandoned) {
        exchange_.handles[slot] = handle;
        return true;
      }
    }
    InternetCloseHandle(handle);
    return false;
  }

  // The handle to use next, or null once the request has been given up.
  HINTERNET Current(HandleSlot slot) {
    std::lock_guard<std::mutex> guard(exchange_.lock);
    return exchange_.abandoned ? nullptr : exchange_.handles[slot];
  }

  // Closes the handle of one slot and empties it.
  void Close(HandleSlot slot) {
    HINTERNET handle = nullptr;
    {
      std::lock_guard<std::mutex> guard(exchange_.lock);
      std::swap(handle, exchange_.handles[slot]);
    }
    if (handle != nullptr) InternetCloseHandle(handle);
  }

  void CloseAll() {
    SlotHandles taken;
    {
      std::lock_guard<std::mutex> guard(exchange_.lock);
      taken = TakeSlots(exchange_);
    }
    CloseHandles(taken);
  }

  bool Abandoned() {
    std::lock_guard<std::mutex> guard(exchange_.lock);
    return exchange_.abandoned;
  }

 private:
  Exchange& exchange_;
};

HINTERNET OpenInternet(const std::string& proxy) {
  const std::string agent(kBrowserAgent);
  if (IsBlank(proxy)) return InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  const std::string proxyList = "http=" + proxy;
  return InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyList.c_str(), nullptr, 0);
}

// The raw response header block, or 1024 spaces when it does not fit into
// the fixed buffer (the query then fails and the buffer stays as it was).
std::string QueryRawHeaders(HINTERNET request) {
  std::string headers(kHeaderBufferChars, ' ');
  DWORD size = kHeaderBufferChars;
  if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &size, nullptr) &&
      size <= kHeaderBufferChars) {
    headers.resize(size);
  } else {
    headers.assign(kHeaderBufferChars, ' ');
  }
  return headers;
}

// Where one request of a chain of redirects goes, and what it carries.
struct Hop {
  std::string host;
  INTERNET_PORT port = 0;
  std::string pathAndQuery;
  bool secure = false;
  std::string userName;  // empty: none
  std::string password;  // empty: none
  std::string verb;
  std::string body;
};

// Connects and opens the request of one hop, both kept in their slots.
// Redirects are followed here, hop by hop, not by WinINet, and nothing is
// written to the cache: WinINet under Wine takes minutes to file a response
// with a header block of a megabyte.
bool OpenHop(WorkerHandles& handles, const Hop& hop, int limitSeconds) {
  HINTERNET internet = handles.Current(kInternetSlot);
  if (internet == nullptr ||
      !handles.Keep(kConnectionSlot,
                    InternetConnectA(internet, hop.host.c_str(), hop.port,
                                     hop.userName.empty() ? nullptr : hop.userName.c_str(),
                                     hop.password.empty() ? nullptr : hop.password.c_str(), INTERNET_SERVICE_HTTP, 0,
                                     0))) {
    return false;
  }
  HINTERNET connection = handles.Current(kConnectionSlot);
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
  if (hop.secure) flags |= INTERNET_FLAG_SECURE;
  if (connection == nullptr ||
      !handles.Keep(kRequestSlot, HttpOpenRequestA(connection, hop.verb.empty() ? nullptr : hop.verb.c_str(),
                                                   hop.pathAndQuery.c_str(), "HTTP/1.1", nullptr, nullptr, flags,
                                                   0))) {
    return false;
  }

  // Closing a handle wakes a blocked call on Windows, but not everywhere
  // (Wine lets the call run on), so a given-up worker is also bounded by the
  // silence it waits through: the time limit and a margin. With window input
  // keeping the front's wait alive, this also ends a request whose server
  // stays silent that long.
  DWORD silenceMs = WaitMilliseconds(limitSeconds > INT_MAX - kSilenceMarginSeconds
                                         ? INT_MAX
                                         : limitSeconds + kSilenceMarginSeconds);
  if (HINTERNET http = handles.Current(kRequestSlot)) {
    InternetSetOptionA(http, INTERNET_OPTION_RECEIVE_TIMEOUT, &silenceMs, sizeof silenceMs);
    InternetSetOptionA(http, INTERNET_OPTION_SEND_TIMEOUT, &silenceMs, sizeof silenceMs);
  }
  return true;
}

// The whole body of the worker thread: 1 when it wrote the result form.
int HttpWorker(Exchange& exchange) {
  std::optional<HandoffRequest> taken;
  {
    std::lock_guard<std::mutex> guard(exchange.lock);
    taken = exchange.handoff.TakeRequest();
  }
  if (!taken) return 0;
  const HandoffRequest& request = *taken;
  const std::string host = UrlHost(request.url);
  const std::string path = UrlPath(request.url);

  WorkerHandles handles(exchange);
  if (!handles.Keep(kInternetSlot, OpenInternet(request.proxy))) return 0;

  // A port WinINet cannot take would be cut to 16 bits and reach some other
  // service; such an address is refused instead.
  const int port = UrlPort(request.url);
  if (port < 0 || port > 65535) return 0;
  // The first hop goes where the program's own reading of the address says;
  // each redirect then goes where its Location points.
  Hop hop{host, static_cast<INTERNET_PORT>(port), path, false,
          IsBlank(request.userName) ? std::string() : request.userName,
          IsBlank(request.password) ? std::string() : request.password, request.verb, request.body};
  std::string address = "http://" + UrlHost(request.url, true) + path;
  HINTERNET http = nullptr;
  for (int redirects = 0;; ++redirects) {
    if (!OpenHop(handles, hop, exchange.timeLimitSeconds)) return 0;
    const RequestVerb verb = ClassifyVerb(hop.verb);
    if (verb == RequestVerb::kUnsupported) return 0;
    std::string headers = CompleteRequestHeaders(request.extraHeaders, request.url);
    if ((http = handles.Current(kRequestSlot)) == nullptr) return 0;
    if (verb == RequestVerb::kPost) {
      AddPostHeaders(headers, hop.body);
      // HttpSendRequestA takes the body as a writable pointer but does not write it.
      std::string body = hop.body;
      HttpSendRequestA(http, headers.data(), static_cast<DWORD>(headers.size()), body.empty() ? nullptr : body.data(),
                       static_cast<DWORD>(body.size()));
    } else {
      HttpSendRequestA(http, headers.data(), static_cast<DWORD>(headers.size()), nullptr, 0);
    }
    if ((http = handles.Current(kRequestSlot)) == nullptr) return 0;

    const std::optional<RedirectHop> next = NextHop(ResponseStatus(http), hop.verb);
    const std::optional<std::string> location = next ? RedirectLocation(http, address) : std::nullopt;
    if (!location) break;
    if (redirects == kMaxRedirects) return 0;
    std::optional<HttpAddress> target = CrackHttpAddress(*location);
    if (!target) return 0;
    // The caller's credentials stay with the server they were given for.
    const bool sameServer = _stricmp(target->host.c_str(), hop.host.c_str()) == 0 && target->port == hop.port;
    hop.host = target->host;
    hop.port = target->port;
    hop.pathAndQuery = target->pathAndQuery;
    hop.secure = target->secure;
    if (!sameServer) {
      hop.userName = target->userName;
      hop.password = target->password;
    }
    hop.verb = next->verb;
    if (!next->keepBody) hop.body.clear();
    address = *location;
    handles.Close(kRequestSlot);
    handles.Close(kConnectionSlot);
  }

  std::string headerText = QueryRawHeaders(http);

  const bool reportProgress = exchange.progress.HasRoutine();
  ReadProgress progress(reportProgress ? EstimateBlocks(headerText) : 0);
  ByteArray body;
  bool tooLarge = false;
  for (;;) {
    if ((http = handles.Current(kRequestSlot)) == nullptr) return 0;
    char block[kReadBlockBytes] = {};
    DWORD read = 0;
    if (!InternetReadFile(http, block, sizeof block, &read) || read == 0) break;
    if (reportProgress) {
      if (const std::optional<int> percent = progress.CountRead()) exchange.progress.NotifyProgress(*percent);
    }
    if (body.size() + read > kMaxBodyBytes) {
      tooLarge = true;
      break;
    }
    body.append(block, read);
  }
  if (tooLarge) body.clear();

  {
    std::lock_guard<std::mutex> guard(exchange.lock);
    if (exchange.abandoned) return 0;
    exchange.handoff.WriteResult(headerText, std::move(body));
  }
  handles.CloseAll();

  const std::string cookieUrl = "http://" + host;
  for (const CookieLine& cookie : SplitCookieLines(headerText)) {
    if (handles.Abandoned()) break;
    InternetSetCookieA(cookieUrl.c_str(), cookie.name.empty() ? nullptr : cookie.name.c_str(), cookie.data.c_str());
  }
  return 1;
}

DWORD WINAPI WorkerEntry(void* parameter) {
  int result = 0;
  {
    const std::unique_ptr<std::shared_ptr<Exchange>> exchange(static_cast<std::shared_ptr<Exchange>*>(parameter));
    result = HttpWorker(**exchange);
  }
  --runningWorkers;
  return static_cast<DWORD>(result);
}

class ThreadHandle {
 public:
  explicit ThreadHandle(HANDLE handle) : handle_(handle) {}
  ~ThreadHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE StartWorker(const std::shared_ptr<Exchange>& exchange) {
  auto* parameter = new std::shared_ptr<Exchange>(exchange);
  ++runningWorkers;
  HANDLE thread = CreateThread(nullptr, 0, WorkerEntry, parameter, 0, nullptr);
  if (thread == nullptr) {
    --runningWorkers;
    delete parameter;
  }
  return thread;
}

enum class WaitOutcome { kWorkerEnded, kTimedOut, kProgramEnding };

// Waits until the worker ends or no window input has come for waitMs. All
// window input is handed out between the waits through the program's one
// translate-and-dispatch routine, so the keys behave as in the main loop.
// Messages sent from other threads and processes (a broadcast, an
// accessibility tool reading the lists) are answered too, so their senders do
// not block until the request ends; but only the window's own input (keys,
// mouse, posted, timer and paint messages) starts the limit again.
WaitOutcome WaitForWorker(HANDLE thread, DWORD waitMs) {
  ULONGLONG deadline = GetTickCount64() + waitMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, remaining, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0 + 1 && HIWORD(GetQueueStatus(QS_ALLEVENTS)) != 0) {
      deadline = GetTickCount64() + waitMs;
    }
    if (!PumpPendingMessages() || ProgramIsEnding()) return WaitOutcome::kProgramEnding;
    if (woken == WAIT_OBJECT_0) return WaitOutcome::kWorkerEnded;
    // A failed wait would fail again at once: treat it like the limit.
    if (woken == WAIT_TIMEOUT || woken == WAIT_FAILED) return WaitOutcome::kTimedOut;
  }
}

void Abandon(Exchange& exchange) {
  SlotHandles taken;
  {
    std::lock_guard<std::mutex> guard(exchange.lock);
    exchange.abandoned = true;
    taken = TakeSlots(exchange);
  }
  CloseHandles(taken);
}

}  // namespace

ByteArray FetchWithTimeout(const FetchArguments& arguments) {
  std::string headers;
  ByteArray body;
  // Messages already queued count as seen, not as new input, for the wait
  // below; hand them out first so they do not sit there for a whole limit.
  // A quit among them ends the request before anything is sent.
  if (!ProgramIsEnding() && PumpPendingMessages()) {
    const int limitSeconds = EffectiveTimeLimitSeconds(arguments.timeLimitSeconds);
    auto exchange = std::make_shared<Exchange>(limitSeconds, arguments.progress);
    exchange->handoff.WriteRequest({arguments.url, arguments.verb, arguments.proxy, arguments.userName,
                                    arguments.password, arguments.extraHeaders, arguments.body});
    const DWORD waitMs = WaitMilliseconds(limitSeconds);
    const ThreadHandle thread(StartWorker(exchange));
    if (thread.get() != nullptr) {
      if (WaitForWorker(thread.get(), waitMs) == WaitOutcome::kWorkerEnded) {
        std::lock_guard<std::mutex> guard(exchange->lock);
        if (std::optional<HandoffResult> result = exchange->handoff.TakeResult()) {
          headers = std::move(result->headers);
          body = std::move(result->body);
        }
      } else {
        Abandon(*exchange);
      }
    }
    exchange->progress.NotifyFinished();
  }
  if (arguments.responseHeaders != nullptr) *arguments.responseHeaders = headers;
  return body;
}

int RunningTimedRequestWorkers() { return runningWorkers.load(); }
