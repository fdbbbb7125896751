#include "platform/tls_certificate.h"

#include "../diary/temp_dir.h"

#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/stat.h>

namespace {

struct ReadIdentity {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key{nullptr, &EVP_PKEY_free};
    std::unique_ptr<X509, decltype(&X509_free)> certificate{nullptr, &X509_free};
};

ReadIdentity Read(const std::string& path)
{
    ReadIdentity read;
    std::unique_ptr<BIO, decltype(&BIO_free)> in(BIO_new_file(path.c_str(), "r"), &BIO_free);
    if (!in)
        return read;
    read.key.reset(PEM_read_bio_PrivateKey(in.get(), nullptr, nullptr, nullptr));
    read.certificate.reset(PEM_read_bio_X509(in.get(), nullptr, nullptr, nullptr));
    return read;
}

std::string AlternativeNames(X509* certificate)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> out(BIO_new(BIO_s_mem()), &BIO_free);
    const int at = X509_get_ext_by_NID(certificate, NID_subject_alt_name, -1);
    if (at < 0 || X509V3_EXT_print(out.get(), X509_get_ext(certificate, at), 0, 0) != 1)
        return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(out.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

int Mode(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

TEST(TlsIdentity, MadeOnceThenKept)
{
    TempDir dir;
    const std::string folder = dir.File("state/tarelog/tls");
    const auto made = LoadOrMakeTlsIdentity(folder, {"192.168.1.20", "fd00::5", "pi.home", "bad,name"});
    ASSERT_TRUE(made) << made.error();
    EXPECT_EQ(made->path, folder + "/server.pem");
    EXPECT_EQ(Mode(made->path), 0600);
    EXPECT_EQ(Mode(folder), 0700);

    const ReadIdentity read = Read(made->path);
    ASSERT_TRUE(read.key && read.certificate);
    EXPECT_EQ(X509_check_private_key(read.certificate.get(), read.key.get()), 1);
    EXPECT_TRUE(EVP_PKEY_is_a(read.key.get(), "EC"));
    char curve[32] = {};
    EVP_PKEY_get_utf8_string_param(read.key.get(), "group", curve, sizeof curve, nullptr);
    EXPECT_STREQ(curve, "prime256v1");
    char name[64] = {};
    X509_NAME_get_text_by_NID(X509_get_subject_name(read.certificate.get()), NID_commonName, name, sizeof name);
    EXPECT_STREQ(name, "tarelog");
    const std::string names = AlternativeNames(read.certificate.get());
    EXPECT_NE(names.find("IP Address:192.168.1.20"), std::string::npos) << names;
    EXPECT_NE(names.find("IP Address:FD00:0:0:0:0:0:0:5"), std::string::npos) << names;
    EXPECT_NE(names.find("IP Address:127.0.0.1"), std::string::npos) << names;
    EXPECT_NE(names.find("DNS:pi.home"), std::string::npos) << names;
    EXPECT_EQ(names.find("bad"), std::string::npos) << names;
    // Valid now (a day's slack for a clock behind) and for two years at least.
    std::time_t soon = std::time(nullptr) + 2 * 365 * 24 * 3600;
    EXPECT_LT(X509_cmp_current_time(X509_get0_notBefore(read.certificate.get())), 0);
    EXPECT_GT(X509_cmp_time(X509_get0_notAfter(read.certificate.get()), &soon), 0);

    // Kept: the phones that accepted it go on accepting it, whatever the addresses now.
    const auto again = LoadOrMakeTlsIdentity(folder, {"10.0.0.3"});
    ASSERT_TRUE(again) << again.error();
    EXPECT_EQ(again->fingerprint, made->fingerprint);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"server.pem"});
}

TEST(TlsIdentity, ADamagedOrLooseFileIsMadeGood)
{
    TempDir dir;
    const std::string folder = dir.File("tls");
    const auto made = LoadOrMakeTlsIdentity(folder, {});
    ASSERT_TRUE(made) << made.error();
    // A key without its certificate: a new identity, not a failure forever.
    const std::string pem = ReadBytes(made->path);
    WriteBytes(made->path, pem.substr(0, pem.find("-----BEGIN CERTIFICATE")));
    const auto remade = LoadOrMakeTlsIdentity(folder, {});
    ASSERT_TRUE(remade) << remade.error();
    EXPECT_NE(remade->fingerprint, made->fingerprint);
    EXPECT_TRUE(Read(remade->path).certificate);
    // A copy that others may read is closed to them.
    ::chmod(remade->path.c_str(), 0644);
    const auto kept = LoadOrMakeTlsIdentity(folder, {});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->fingerprint, remade->fingerprint);
    EXPECT_EQ(Mode(kept->path), 0600);
}

TEST(TlsIdentity, AFolderThatCannotBeMadeIsSaid)
{
    TempDir dir;
    WriteBytes(dir.File("file"), "x");
    const auto failed = LoadOrMakeTlsIdentity(dir.File("file/tls"), {});
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().find("file/tls"), std::string::npos) << failed.error();
}

// As the openssl program and the browsers show it.
TEST(TlsIdentity, FingerprintAsOpensslPrintsIt)
{
    if (std::string(OPENSSL_PROGRAM).empty())
        GTEST_SKIP() << "the openssl program is not installed";
    TempDir dir;
    const auto made = LoadOrMakeTlsIdentity(dir.File("tls"), {});
    ASSERT_TRUE(made) << made.error();
    const std::string command = std::string(OPENSSL_PROGRAM) + " x509 -noout -fingerprint -sha256 -in " + made->path;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    ::pclose(pipe);
    const std::string printed(line);
    EXPECT_EQ(printed.substr(printed.find('=') + 1), made->fingerprint + "\n");
    EXPECT_EQ(made->fingerprint.size(), 32u * 3 - 1);
}

} // namespace
