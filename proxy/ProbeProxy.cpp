#include "proxy/ProbeProxy.h"

// Placeholder until the probe lands.
std::string ProbeProxy(AppContext&) { return {}; }
