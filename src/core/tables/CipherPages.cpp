#include "core/tables/CipherPages.h"

#include "core/tables/KeyDerivation.h"

#include <QFile>
#include <QMessageAuthenticationCode>
#include <QtEndian>

namespace {
// SQLCipher 3.x: a 16-byte IV and a 20-byte HMAC at the end of each page,
// the reserve rounded up to the 16-byte cipher block.
constexpr int IvSize = 16;
constexpr int HmacSize = 20;
constexpr int Reserve = 48;
constexpr char HmacSaltMask = 0x3a;
constexpr int HmacKeyIterations = 2;

constexpr quint32 WalMagic = 0x377f0682; // the low bit: checksums read big-endian
constexpr quint32 WalVersion = 3007000;
constexpr int WalHeaderSize = 32;
constexpr int FrameHeaderSize = 24;
// A journal of many frames is checked from its start; a foreign journal
// shows in its first frames.
constexpr int FramesChecked = 256;

quint32 word(const char* p, bool bigEndian)
{
    return bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
}

// SQLite's journal checksum over `size` bytes (a multiple of 8), chained
// from s[0], s[1].
void checksum(const char* data, int size, bool bigEndian, quint32 s[2])
{
    for (int i = 0; i + 8 <= size; i += 8) {
        s[0] += word(data + i, bigEndian) + s[1];
        s[1] += word(data + i + 4, bigEndian) + s[0];
    }
}
} // namespace

CipherPages::CipherPages(const QByteArray& rawKey, const QByteArray& salt)
{
    QByteArray hmacSalt = salt.left(SaltSize);
    for (char& c : hmacSalt)
        c = char(c ^ HmacSaltMask);
    m_hmacKey = KeyDerivation::pbkdf2(KeyDerivation::Hash::Sha1, rawKey, hmacSalt, HmacKeyIterations,
                                      int(rawKey.size()));
}

bool CipherPages::authentic(const QByteArray& page, quint32 number) const
{
    if (page.size() != PageSize || page.count('\0') == PageSize)
        return false;
    // The first page starts with the salt in clear; the rest is as any page.
    const int offset = number == 1 ? SaltSize : 0;
    const int size = PageSize - offset - Reserve;
    QMessageAuthenticationCode mac(QCryptographicHash::Sha1, m_hmacKey);
    mac.addData(page.constData() + offset, size + IvSize);
    char pageNumber[4];
    qToLittleEndian<quint32>(number, pageNumber);
    mac.addData(pageNumber, 4);
    return mac.result() == page.mid(offset + size + IvSize, HmacSize);
}

bool CipherPages::keyFitsFile(const QString& path, const QByteArray& rawKey)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray first = file.read(PageSize);
    const QByteArray salt = first.left(SaltSize);
    if (salt.size() != SaltSize)
        return false;
    const CipherPages pages(rawKey, salt);
    if (pages.authentic(first, 1))
        return true;
    QByteArray second;
    for (quint32 number = 2; number <= 8; ++number) {
        const QByteArray page = file.read(PageSize);
        if (number == 2)
            second = page;
        if (pages.authentic(page, number))
            return true;
    }
    // A bit flipped in the salt makes every page fail; page 2 under the
    // salt as it was tells.
    for (int bit = 0; bit < SaltSize * 8; ++bit) {
        QByteArray repaired = salt;
        repaired[bit / 8] = char(repaired[bit / 8] ^ (1 << (bit % 8)));
        if (CipherPages(rawKey, repaired).authentic(second, 2))
            return true;
    }
    return false;
}

CipherPages::Journal CipherPages::checkJournal(const QString& walPath, const QByteArray& rawKey,
                                               const QByteArray& salt)
{
    QFile wal(walPath);
    if (!wal.open(QIODevice::ReadOnly))
        return Journal::Empty;
    const QByteArray header = wal.read(WalHeaderSize);
    if (header.size() < WalHeaderSize)
        return Journal::Empty;
    const quint32 magic = qFromBigEndian<quint32>(header.constData());
    if ((magic & ~1u) != WalMagic)
        return Journal::Empty; // the engine ignores it and writes over it
    const bool bigEndian = (magic & 1) != 0;
    quint32 sum[2] = {0, 0};
    checksum(header.constData(), 24, bigEndian, sum);
    if (sum[0] != qFromBigEndian<quint32>(header.constData() + 24) ||
        sum[1] != qFromBigEndian<quint32>(header.constData() + 28))
        return Journal::Empty;
    if (qFromBigEndian<quint32>(header.constData() + 4) != WalVersion)
        return Journal::Foreign;
    const quint32 pageSize = qFromBigEndian<quint32>(header.constData() + 8);
    const QByteArray walSalt = header.mid(16, 8);

    const CipherPages pages(rawKey, salt);
    Journal verdict = Journal::Empty;
    for (int n = 0; n < FramesChecked; ++n) {
        const QByteArray frame = wal.read(FrameHeaderSize);
        if (frame.size() < FrameHeaderSize || frame.mid(8, 8) != walSalt)
            break;
        const QByteArray page = wal.read(pageSize);
        if (page.size() != int(pageSize))
            break;
        checksum(frame.constData(), 8, bigEndian, sum);
        checksum(page.constData(), page.size(), bigEndian, sum);
        if (sum[0] != qFromBigEndian<quint32>(frame.constData() + 16) ||
            sum[1] != qFromBigEndian<quint32>(frame.constData() + 20))
            break; // a frame the engine does not apply, nor any behind it
        if (pageSize != PageSize || !pages.authentic(page, qFromBigEndian<quint32>(frame.constData())))
            return Journal::Foreign;
        verdict = Journal::Belongs;
    }
    return verdict;
}
