#pragma once

#include <QString>

// Passwords are kept only as slow salted hashes (Argon2id, libsodium's
// crypto_pwhash_str): the stored text carries its own salt and cost, so a
// later change of the cost still verifies older hashes.
namespace Password {

// Longest password the windows take. The hash has a fixed length whatever
// the password's.
inline constexpr int MaxLength = 128;

// The stored hash of `plain`. Throws std::runtime_error when the library
// cannot run (out of memory).
QString hash(const QString& plain);

// Whether `plain` is the password of the stored hash `stored`.
bool verify(const QString& stored, const QString& plain);

// The cost of a hash, for the bench's report.
unsigned long long opsLimit();
size_t memLimit();

} // namespace Password
