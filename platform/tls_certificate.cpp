#include "platform/tls_certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Apple's phones refuse a server certificate valid for longer than 825
// days, even one the person accepted; a certificate is renewed a month
// before its end, which changes the fingerprint the phones must accept.
constexpr long kValidDays = 825;
constexpr int kRenewDaysBefore = 30;
constexpr const char* kFileName = "/server.pem";

template <auto Free> struct Deleter {
    template <typename T> void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO_free_all>>;
using Extension = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION_free>>;

using TextResult = Result<TlsIdentity, std::string>;

std::string SystemError(const std::string& what, const std::string& path)
{
    return what + " '" + path + "': " + std::strerror(errno);
}

std::string AlternativeNames(const std::vector<std::string>& addresses)
{
    std::string names = "DNS:localhost,IP:127.0.0.1";
    for (const std::string& address : addresses) {
        if (address.empty() || address == "127.0.0.1" || address == "localhost")
            continue;
        unsigned char bytes[16];
        const bool ip = inet_pton(AF_INET, address.c_str(), bytes) == 1
            || inet_pton(AF_INET6, address.c_str(), bytes) == 1;
        // A host name goes into OpenSSL's configuration syntax: nothing that could end the entry.
        if (!ip
            && address.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-")
                != std::string::npos)
            continue;
        names += (ip ? ",IP:" : ",DNS:") + address;
    }
    return names;
}

bool AddExtension(X509* certificate, int nid, const std::string& value)
{
    X509V3_CTX context;
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    const Extension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    return extension && X509_add_ext(certificate, extension.get(), -1) == 1;
}

bool RandomSerial(X509* certificate)
{
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        return false;
    bytes[0] &= 0x7f; // a positive number
    BIGNUM* number = BN_bin2bn(bytes, sizeof bytes, nullptr);
    const bool done = number != nullptr && BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate)) != nullptr;
    BN_free(number);
    return done;
}

Certificate SelfSigned(EVP_PKEY* key, const std::vector<std::string>& addresses)
{
    Certificate certificate(X509_new());
    if (!certificate || X509_set_version(certificate.get(), 2) != 1 || !RandomSerial(certificate.get()))
        return nullptr;
    // A day back, for a phone whose clock runs behind.
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -24L * 3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), kValidDays * 24L * 3600);
    X509_NAME* name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("tarelog"), -1, -1, 0);
    X509_set_issuer_name(certificate.get(), name);
    X509_set_pubkey(certificate.get(), key);
    const bool extended = AddExtension(certificate.get(), NID_basic_constraints, "critical,CA:FALSE")
        && AddExtension(certificate.get(), NID_key_usage, "critical,digitalSignature")
        && AddExtension(certificate.get(), NID_ext_key_usage, "serverAuth")
        && AddExtension(certificate.get(), NID_subject_key_identifier, "hash")
        && AddExtension(certificate.get(), NID_subject_alt_name, AlternativeNames(addresses));
    if (!extended || X509_sign(certificate.get(), key, EVP_sha256()) == 0)
        return nullptr;
    return certificate;
}

std::string Der(X509* certificate)
{
    unsigned char* bytes = nullptr;
    const int size = i2d_X509(certificate, &bytes);
    if (size <= 0)
        return {};
    std::string der(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(size));
    OPENSSL_free(bytes);
    return der;
}

std::string PemOf(EVP_PKEY* key, X509* certificate)
{
    const Bio out(BIO_new(BIO_s_mem()));
    if (!out || PEM_write_bio_PrivateKey(out.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1
        || PEM_write_bio_X509(out.get(), certificate) != 1)
        return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(out.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

// The certificate of a kept file whose key fits it and that is not about
// to expire; nothing when the file must be made again.
Certificate ReadUsable(const std::string& path)
{
    const Bio in(BIO_new_file(path.c_str(), "r"));
    if (!in)
        return nullptr;
    const Key key(PEM_read_bio_PrivateKey(in.get(), nullptr, nullptr, nullptr));
    Certificate certificate(key ? PEM_read_bio_X509(in.get(), nullptr, nullptr, nullptr) : nullptr);
    if (!certificate || X509_check_private_key(certificate.get(), key.get()) != 1)
        return nullptr;
    const std::time_t renewal = std::time(nullptr) + kRenewDaysBefore * 24L * 3600;
    if (X509_cmp_time(X509_get0_notAfter(certificate.get()), const_cast<std::time_t*>(&renewal)) <= 0)
        return nullptr;
    return certificate;
}

bool WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

// Puts `pem` at `path` whole or not at all, readable by its owner alone.
// With `replace` false, another process's file that appeared meanwhile wins.
std::optional<std::string> Publish(const std::string& folder, const std::string& path, const std::string& pem,
    bool replace)
{
    std::string temporary = folder + "/.server.pem-XXXXXX";
    const int fd = ::mkstemp(temporary.data()); // mode 0600
    if (fd < 0)
        return SystemError("cannot create", temporary);
    const bool written = WriteAll(fd, pem);
    ::close(fd);
    bool published = false;
    if (written)
        published = replace ? ::rename(temporary.c_str(), path.c_str()) == 0
                            : ::link(temporary.c_str(), path.c_str()) == 0 || errno == EEXIST;
    const std::string failure = written ? SystemError("cannot write", path) : SystemError("cannot write", temporary);
    ::unlink(temporary.c_str());
    if (!published)
        return failure;
    return std::nullopt;
}

std::optional<std::string> MakeFolder(const std::string& folder)
{
    std::string partial;
    for (std::size_t at = 0; at != std::string::npos;) {
        at = folder.find('/', at + 1);
        partial = folder.substr(0, at);
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return SystemError("cannot create the folder", partial);
    }
    return std::nullopt;
}

} // namespace

std::string CertificateFingerprint(const std::string& der)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(der.data(), der.size(), digest, &size, EVP_sha256(), nullptr) != 1)
        return {};
    std::string text;
    char pair[4];
    for (unsigned int i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", digest[i]);
        text += (i == 0 ? "" : ":") + std::string(pair);
    }
    return text;
}

TextResult LoadOrMakeTlsIdentity(const std::string& folder, const std::vector<std::string>& addresses)
{
    if (const auto failure = MakeFolder(folder))
        return Failed{*failure};
    const std::string path = folder + kFileName;
    bool exists = ::access(path.c_str(), F_OK) == 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (exists) {
            if (::access(path.c_str(), R_OK) != 0)
                return Failed{SystemError("cannot read", path)};
            if (const Certificate kept = ReadUsable(path)) {
                ::chmod(path.c_str(), 0600); // a key copied in by hand may have come with wider rights
                return TlsIdentity{path, CertificateFingerprint(Der(kept.get()))};
            }
        }
        const Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
        const Certificate made = key ? SelfSigned(key.get(), addresses) : nullptr;
        const std::string pem = made ? PemOf(key.get(), made.get()) : std::string();
        if (pem.empty())
            return Failed{std::string("cannot make a TLS key and certificate with OpenSSL")};
        // A damaged or expiring file is replaced; a missing one is made
        // unless another server made it meanwhile, which is then read.
        if (const auto failure = Publish(folder, path, pem, exists))
            return Failed{*failure};
        exists = true;
    }
    return Failed{std::string("cannot read the TLS identity that was just written to '") + path + "'"};
}
