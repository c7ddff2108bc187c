#pragma once

#include <QByteArray>
#include <QString>

// The pages of a table file checked against a key without the engine, the
// way SQLCipher authenticates them in the 3.x format: every page carries an
// HMAC-SHA1 made with a key derived from the table key and the file's salt
// (its first 16 bytes). This tells what the engine cannot: a damaged first
// page from a wrong password, and a journal (-wal) of another file from
// the table's own, before the engine applies it.
class CipherPages
{
public:
    static constexpr int PageSize = 4096;
    static constexpr int SaltSize = 16;

    CipherPages(const QByteArray& rawKey, const QByteArray& salt);

    // Whether the page (PageSize bytes) is page `number` of a file with this
    // key and salt. A page of zeros is not.
    bool authentic(const QByteArray& page, quint32 number) const;

    // Whether the key opens any of the first pages of the file (the first
    // page itself, or one behind it; or page 2 under the salt with one bit
    // flipped): the key is right and what fails is the file.
    static bool keyFitsFile(const QString& path, const QByteArray& rawKey);

    enum class Journal {
        Empty,   // no frame the engine would apply
        Belongs, // every frame is a page of this file
        Foreign  // a frame of another file, or not a journal the engine can read
    };
    // Reads the write-ahead journal at walPath and checks the frames the
    // engine would apply against the table's key and salt.
    static Journal checkJournal(const QString& walPath, const QByteArray& rawKey, const QByteArray& salt);

private:
    QByteArray m_hmacKey;
};
