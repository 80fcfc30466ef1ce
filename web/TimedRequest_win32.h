// The timed request: one HTTP/1.1 exchange over WinINet on a worker thread,
// while the calling thread waits with a message-aware wait and keeps the
// windows answering.
#pragma once

#include "web/WebAccess.h"

// The response body, or an empty byte array on failure, at the time limit, or
// once the program is ending.
ByteArray FetchWithTimeout(const FetchArguments& arguments);

// Worker threads that have not ended yet, given-up ones included.
int RunningTimedRequestWorkers();
