#pragma once

#include <string>
#include <string_view>

// The secrets that let a phone or a script in: drawn from OpenSSL's random
// generator, and kept only as their SHA-256 digests, so that a copy of the
// device file lets nobody in.

// 32 random bytes (256 bits) as 43 URL-safe base64 characters, fit for a
// path, a cookie and a header alike. Throws std::runtime_error when the
// generator cannot be seeded: a guessable secret must never be handed out.
std::string NewSecret();

// The SHA-256 digest of `text` in lowercase hex.
std::string Sha256Hex(std::string_view text);

// Equality of two digests in a time that does not depend on where they
// first differ.
bool SameDigest(std::string_view a, std::string_view b);
