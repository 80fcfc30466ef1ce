#include "app/SiteHosts.h"

#include "proxyswitcher_build_settings.h"

const SiteHosts& BuildSiteHosts() {
  static const SiteHosts hosts{
      PROXYSWITCHER_HOST_5U,      PROXYSWITCHER_HOST_PUBCC,           PROXYSWITCHER_HOST_HUIXUN,
      PROXYSWITCHER_HOST_CHUNZHEN, PROXYSWITCHER_HOST_DAILIZHONGGUO,  PROXYSWITCHER_HOST_DAILIFUWUQIWANG,
      PROXYSWITCHER_HOST_IPECHO,  PROXYSWITCHER_HOMEPAGE_URL,
  };
  return hosts;
}
