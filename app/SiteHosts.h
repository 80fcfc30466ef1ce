// Hosts of the six proxy-list sites, the IP-echo page and the home page.
// Each host may carry ":port". The values come from the build settings.
#pragma once

#include <string>

struct SiteHosts {
  std::string fiveU;
  std::string pubcc;
  std::string huixun;
  std::string chunzhen;
  std::string dailiZhongguo;
  std::string dailiFuwuqiWang;
  std::string ipEcho;
  std::string homepageUrl;
};

// The hosts this build was configured with.
const SiteHosts& BuildSiteHosts();
