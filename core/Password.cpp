#include "Password.h"

#include <sodium.h>

#include <QByteArray>

#include <mutex>
#include <stdexcept>

namespace Password {

namespace {

// The interactive cost: about a tenth of a second on a till, slow enough that
// guessing from a stolen copy takes years for a password of eight letters.
constexpr unsigned long long Ops = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t Mem = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void initOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0)
            throw std::runtime_error("libsodium cannot be initialised");
    });
}

} // namespace

QString hash(const QString& plain)
{
    initOnce();
    const QByteArray utf8 = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()), Ops,
                          Mem) != 0)
        throw std::runtime_error("password hash: out of memory");
    return QString::fromLatin1(out);
}

bool verify(const QString& stored, const QString& plain)
{
    if (stored.isEmpty())
        return false;
    initOnce();
    const QByteArray h = stored.toLatin1();
    const QByteArray utf8 = plain.toUtf8();
    return crypto_pwhash_str_verify(h.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}

unsigned long long opsLimit()
{
    return Ops;
}

size_t memLimit()
{
    return Mem;
}

} // namespace Password
