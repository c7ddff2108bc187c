#include "core/tables/KeyDerivation.h"

#include "core/tables/TableError.h"

#include <openssl/evp.h>

namespace KeyDerivation {

QByteArray pbkdf2(Hash hash, const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    Q_ASSERT(iterations > 0 && length > 0);
    QByteArray key(length, '\0');
    const EVP_MD* md = hash == Hash::Sha1 ? EVP_sha1() : EVP_sha256();
    if (PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()),
                          reinterpret_cast<const unsigned char*>(salt.constData()), int(salt.size()),
                          iterations, md, length, reinterpret_cast<unsigned char*>(key.data())) != 1)
        throw TableError(QStringLiteral("The table key could not be derived"));
    return key;
}

} // namespace KeyDerivation
