#pragma once

#include "platform/result.h"

#include <string>
#include <vector>

// The key and self-signed certificate a server shows to its clients, made
// on first use and kept, so that a phone that accepted it once goes on
// recognising it: an ECDSA P-256 key and a certificate for "tarelog" valid
// for decades, both in one PEM file readable by its owner alone.
struct TlsIdentity {
    std::string path;        // the PEM file: the private key, then the certificate
    std::string fingerprint; // SHA-256 of the certificate, "AB:CD:...", as browsers show it
};

// The identity kept in `folder` (created, mode 0700, when missing), made
// there first when there is none; `addresses` (IPv4 or IPv6 literals, or
// host names) go into a new certificate's subject alternative names. Two
// processes starting at once agree on one identity. English text on failure.
Result<TlsIdentity, std::string> LoadOrMakeTlsIdentity(const std::string& folder,
    const std::vector<std::string>& addresses);

// The SHA-256 fingerprint of a DER-encoded certificate, as colon-separated
// pairs of upper-case hex digits.
std::string CertificateFingerprint(const std::string& der);
