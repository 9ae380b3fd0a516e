// The LAN connection methods (service providers) of the session layer, in their fixed order.
#pragma once

#include <string>
#include <vector>

namespace gd {

inline const std::string kLanProviderNetwork = "Local Network (TCP/IP)";
inline const std::string kLanProviderThisComputer = "This Computer (Loopback)";

// The display names of the connection methods the session layer offers.
std::vector<std::string> ListLanProviders();

}  // namespace gd
