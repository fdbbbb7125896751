#include "phone/phone_defaults.h"

#include "platform/host_addresses.h"

std::string DefaultPhoneBaseUrl()
{
    const std::vector<std::string> addresses = ReachableIpv4Addresses();
    const std::string host = addresses.empty() ? "127.0.0.1" : addresses.front();
    return "https://" + host + ":" + std::to_string(kDefaultPhonePort);
}
