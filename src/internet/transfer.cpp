// Settings of the HTTP transfer control shared by every implementation.
#include "transfer.h"

#include "text.h"

namespace gd {

void ApplyProxySetting(HttpTransfer& inet, bool useProxy, const std::string& address) {
    inet.AccessType = useProxy ? kNamedProxy : kDefaultAccess;
    inet.Proxy = useProxy ? Trim(address) : "";
}

}  // namespace gd
