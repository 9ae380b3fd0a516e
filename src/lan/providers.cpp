// The session layer's connection methods: the local network and this computer alone.
#include "providers.h"

namespace gd {

std::vector<std::string> ListLanProviders() {
    return {kLanProviderNetwork, kLanProviderThisComputer};
}

}  // namespace gd
