#pragma once

#include <QByteArray>

// PBKDF2 (RFC 8018) through OpenSSL's libcrypto, which SQLCipher itself
// uses for its keys: the tables' raw key from the program's password, and the
// page authentication key SQLCipher derives from it.
namespace KeyDerivation {

enum class Hash { Sha1, Sha256 };

// `length` bytes; throws TableError when libcrypto refuses.
QByteArray pbkdf2(Hash hash, const QByteArray& password, const QByteArray& salt, int iterations, int length);

} // namespace KeyDerivation
