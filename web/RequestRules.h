// The rules of the timed request that need no network: which verbs it speaks,
// the header lines it adds, how long a single wait lasts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kBrowserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// A body past this size counts as a failed download (guard against hostile
// servers filling the memory of a 32-bit process).
inline constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;

enum class RequestVerb { kGet, kPost, kUnsupported };

// Empty or "GET" in any letter case is GET, "POST" in any case is POST; any
// other verb is not sent at all.
RequestVerb ClassifyVerb(std::string_view verb);

// extraHeaders followed by the browser-like lines that are not already there
// (each test is a case-insensitive search anywhere in the text): Accept,
// Referer (the address exactly as passed) and Accept-Language.
std::string CompleteRequestHeaders(std::string_view extraHeaders, std::string_view url);

// The lines a POST with a body adds: Content-Type when the headers have none,
// then always Content-Length. Nothing for an empty body.
void AddPostHeaders(std::string& headers, std::string_view body);

// The longest wait without window input, in seconds: absent, 0 or negative
// means 90.
int EffectiveTimeLimitSeconds(std::optional<int> seconds);

// seconds x 1000 as a wait length, kept below the "infinite" value.
std::uint32_t WaitMilliseconds(int seconds);
