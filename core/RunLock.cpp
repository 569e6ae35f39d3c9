#include "RunLock.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

RunLock::~RunLock() {
    release();
}

QString RunLock::pathFor(const QString& dbPath) {
    const QFileInfo info(dbPath);
    const QString real = info.canonicalFilePath();
    return (real.isEmpty() ? info.absoluteFilePath() : real) + QStringLiteral(".lock");
}

RunLock::Result RunLock::take(const QString& dbPath, Kind kind) {
    release();
    m_problem.clear();
    m_errno = 0;
#ifdef Q_OS_UNIX
    const QString path = pathFor(dbPath);
    const QByteArray name = QFile::encodeName(path);
    // Never through a link: the folder is shared by the group's members. The
    // file's mode follows the umask, so the group can take the lock too.
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        m_errno = errno;
        m_problem = QStringLiteral("File kunci %1 tidak dapat dibuat atau dibuka: %2.")
                        .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return Result::Failed;
    }
    const int operation = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::Busy;
        m_errno = error;
        m_problem = QStringLiteral("File kunci %1 tidak dapat dikunci: %2.")
                        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Taken;
#else
    Q_UNUSED(dbPath);
    Q_UNUSED(kind);
    return Result::Taken;
#endif
}

void RunLock::release() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
    m_fd = -1;
}
