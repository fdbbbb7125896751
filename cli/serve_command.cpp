// tarelog-cli serve DIARY [--listen ADDRESS:PORT] [--http]: the diary's page
// for its owner's phones and its API for scripts, until a signal stops it.
#include "cli/commands.h"
#include "cli/pairing_output.h"
#include "cli/verb_preamble.h"

#include "phone/phone_defaults.h"
#include "phone/phone_service.h"
#include "platform/http_server.h"
#include "platform/host_addresses.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/tls_certificate.h"

#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <unistd.h>

namespace {

enum ServeOption { kListen, kHttp };

struct ListenAddress {
    std::string address;
    int port = kDefaultPhonePort;
};

// "ADDRESS:PORT", "[IPv6]:PORT"; the port may be 0 for any free one.
std::optional<ListenAddress> ParseListen(const std::string& text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    ListenAddress listen;
    listen.address = text.substr(0, colon);
    if (listen.address.size() > 2 && listen.address.front() == '[' && listen.address.back() == ']')
        listen.address = listen.address.substr(1, listen.address.size() - 2);
    const std::string_view port = std::string_view(text).substr(colon + 1);
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), listen.port);
    if (error != std::errc() || end != port.data() + port.size() || port.empty() || listen.port < 0
        || listen.port > 65535)
        return std::nullopt;
    return listen;
}

void PrintStart(const std::string& diary, const std::vector<std::string>& urls, const std::string& pairingLink,
    const std::optional<TlsIdentity>& identity)
{
    std::printf("Serving %s; open on a phone on this network:\n", diary.c_str());
    for (const std::string& url : urls)
        std::printf("  %s/\n", url.c_str());
    PrintPairingLink(pairingLink);
    std::printf("The link pairs one phone, once, within 10 minutes; 'tarelog-cli pair' makes another.\n");
    if (identity)
        std::printf("certificate SHA-256 fingerprint: %s\n", identity->fingerprint.c_str());
    else
        std::printf("plain HTTP on loopback: a proxy in front of it must provide HTTPS\n");
    // Scripts and tests read the link while the server runs.
    std::fflush(stdout);
}

int Serve(const std::string& diary, const ListenAddress& listen, bool tls)
{
    // Blocked before any thread starts, so that every thread inherits the
    // mask and the signals wait for sigwait below instead of killing the
    // process in the middle of a write.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const std::vector<std::string> addresses = AddressesToOpen(listen.address);
    HttpServerOptions options;
    options.address = listen.address;
    options.port = listen.port;
    std::optional<TlsIdentity> identity;
    if (tls) {
        const auto kept = LoadOrMakePhoneIdentity(addresses);
        if (!kept) {
            std::fprintf(stderr, "tarelog-cli: %s\n", kept.error().c_str());
            return kExitFailure;
        }
        identity = *kept;
        options.tlsIdentity = kept->path;
    }
    // The window's settings: the diary's goal and the graph's colours.
    const QSettingsProfileStore profile;
    // The service learns the port only once the server has bound it (a
    // port of 0 lets the system choose); until then the server answers
    // that it is starting. The service outlives the server's threads.
    std::unique_ptr<PhoneService> service;
    std::atomic<PhoneService*> ready = nullptr;
    HttpServer server(options, [&ready](const HttpRequest& request) {
        PhoneService* const serving = ready.load();
        if (serving == nullptr)
            return HttpResponse{.status = 503,
                .contentType = "text/plain; charset=utf-8",
                .body = "starting\n",
                .headers = {}};
        return serving->Handle(request);
    });
    if (const auto failure = server.Start()) {
        std::fprintf(stderr, "tarelog-cli: %s\n", failure->c_str());
        return kExitFailure;
    }
    std::vector<std::string> urls;
    for (const std::string& address : addresses)
        urls.push_back(BaseUrl(tls, address, server.Port()));
    service = std::make_unique<PhoneService>(
        PhoneService::Options{.diaryPath = diary, .baseUrl = urls.front(), .profile = &profile});
    ready = service.get();
    std::string pairingLink;
    try {
        pairingLink = NewPairingLink(diary, urls.front());
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "tarelog-cli: %s\n", error.what());
        server.Stop();
        return kExitFailure;
    }
    PrintStart(diary, urls, pairingLink, identity);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    std::fprintf(stderr, "tarelog-cli: stopped by %s\n", signal == SIGINT ? "SIGINT" : "SIGTERM");
    return kExitOk;
}

} // namespace

const VerbTable& ServeTable()
{
    static const std::string listenHelp = "listen there rather than on every address of the machine\n"
                                          "and port "
        + std::to_string(kDefaultPhonePort) + " (a PORT of 0 takes a free one)";
    static const VerbTable table{
        .synopsis = "[--listen ADDRESS:PORT] [--http] DIARY",
        .description = "Serves the diary's page to its owner's phones, and its API to scripts, until\n"
                       "stopped by SIGINT or SIGTERM (the request in flight is finished first).\n"
                       "At start it prints the addresses to open, a line 'pair: LINK' with a one-time\n"
                       "pairing link, the same link as a QR code, and the SHA-256 fingerprint of the\n"
                       "server's certificate for comparing with what the phone shows. The page is\n"
                       "HTTPS with a self-signed certificate kept in $XDG_STATE_HOME/tarelog/tls/.\n"
                       "A DIARY that does not exist yet is created by the first entry.\n",
        .options = {{kListen, "listen", 0, "ADDRESS:PORT", listenHelp.c_str()},
            {kHttp, "http", 0, nullptr,
                "plain HTTP, on a loopback address only (127.0.0.1 by\n"
                "default), behind a proxy that provides HTTPS"}},
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunServe(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(ServeTable(), "serve", args, parsed))
        return *stop;
    if (parsed.operands.size() != 1)
        return UsageError("serve", "give one diary DIARY");
    const bool http = HasOption(parsed, kHttp);
    ListenAddress listen{http ? "127.0.0.1" : "0.0.0.0"};
    for (const UsedOption& option : parsed.options) {
        if (option.id != kListen)
            continue;
        const auto given = ParseListen(option.value);
        if (!given)
            return UsageError("serve", "'" + option.value + "' is not ADDRESS:PORT");
        listen = *given;
    }
    if (http && !IsLoopbackAddress(listen.address))
        return UsageError("serve", "--http serves a loopback address only, not '" + listen.address + "'");
    const std::filesystem::path diary = std::filesystem::absolute(parsed.operands[0]).lexically_normal();
    if (!std::filesystem::is_directory(diary.parent_path())) {
        std::fprintf(stderr, "tarelog-cli: the folder of '%s' does not exist\n", diary.c_str());
        return kExitFailure;
    }
    return Serve(diary.string(), listen, !http);
}
