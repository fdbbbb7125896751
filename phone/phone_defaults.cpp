#include "phone/phone_defaults.h"

#include "platform/host_addresses.h"
#include "platform/state_folder.h"

#include <unistd.h>

std::string DefaultPhoneBaseUrl()
{
    return BaseUrl(true, AddressesToOpen("0.0.0.0").front(), kDefaultPhonePort);
}

std::vector<std::string> AddressesToOpen(const std::string& listened)
{
    if (listened != "0.0.0.0" && listened != "::")
        return {listened};
    std::vector<std::string> addresses = ReachableIpv4Addresses();
    if (addresses.empty())
        addresses.push_back("127.0.0.1");
    return addresses;
}

std::string BaseUrl(bool tls, const std::string& address, int port)
{
    const std::string host = address.find(':') != std::string::npos ? "[" + address + "]" : address;
    return (tls ? "https://" : "http://") + host + ":" + std::to_string(port);
}

Result<TlsIdentity, std::string> LoadOrMakePhoneIdentity(const std::vector<std::string>& addresses)
{
    std::vector<std::string> names = addresses;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0 && host[0] != '\0')
        names.push_back(host);
    return LoadOrMakeTlsIdentity(StateFolder("tarelog") + "/tls", names);
}
