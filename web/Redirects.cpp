#include "web/Redirects.h"

#include "web/RequestRules.h"

std::optional<RedirectHop> NextHop(int status, std::string_view verb) {
  const bool post = ClassifyVerb(verb) == RequestVerb::kPost;
  switch (status) {
    case 301:
    case 302:
      if (post) return RedirectHop{"GET", false};
      return RedirectHop{std::string(verb), true};
    case 303:
      return RedirectHop{"GET", false};
    case 307:
    case 308:
      return RedirectHop{std::string(verb), true};
    default:
      return std::nullopt;
  }
}
