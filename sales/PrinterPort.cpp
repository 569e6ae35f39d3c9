#include "PrinterPort.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrinterPort {

namespace {

using Kind = Config::Values::EscPosPrinter::Kind;
using Printer = Config::Values::EscPosPrinter;

QString noAnswer(int limitMs)
{
    return QStringLiteral("printer tidak menjawab dalam %1 detik (mati, kertas habis, tutupnya "
                          "terbuka atau tidak tersambung)")
        .arg((limitMs + 999) / 1000);
}

#ifdef Q_OS_UNIX
// What a failed system call means for the cashier.
QString reasonOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
        return QStringLiteral("perangkat tidak ada (printer mati, kabelnya lepas atau alamatnya "
                              "salah)");
    case ENXIO:
        return QStringLiteral("perangkat tidak tersambung (printer mati atau kabelnya lepas)");
    case EACCES:
    case EPERM:
        return QStringLiteral("tidak ada izin menulis ke perangkat (pengguna perlu masuk grup "
                              "printer: sudo adduser NAMA lp)");
    case EISDIR:
        return QStringLiteral("alamat itu sebuah folder, bukan printer");
    case EBUSY:
        return QStringLiteral("perangkat sedang dipakai program lain");
    case ENOSPC:
        return QStringLiteral("printer menolak data (kertas habis?)");
    case EIO:
        return QStringLiteral("printer tidak siap (mati, kertas habis atau tutupnya terbuka)");
    case ECONNREFUSED:
        return QStringLiteral("printer menolak sambungan (printer mati atau port salah)");
    case ECONNRESET:
    case EPIPE:
        return QStringLiteral("printer memutus sambungan sebelum semua data terkirim");
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
        return QStringLiteral("printer tidak terjangkau di jaringan");
    case ETIMEDOUT:
        return noAnswer(LimitMs);
    }
    return QStringLiteral("galat sistem: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
}

int remainingMs(const QDeadlineTimer& deadline)
{
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

// Writes everything to a non-blocking descriptor, waiting for room no longer
// than the deadline.
std::optional<QString> writeAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline,
                                int limitMs, bool socket)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = socket ? ::send(fd, bytes.constData() + done, bytes.size() - done,
                                          MSG_NOSIGNAL)
                                 : ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return reasonOf(errno);
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, remainingMs(deadline));
        if (ready == 0)
            return noAnswer(limitMs);
        if (ready < 0 && errno != EINTR)
            return reasonOf(errno);
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP)) && !(p.revents & POLLOUT))
            return reasonOf(socket ? ECONNRESET : EIO);
    }
    return std::nullopt;
}

std::optional<QString> toDevice(const QString& path, const QByteArray& bytes,
                                const QDeadlineTimer& deadline, int limitMs)
{
    // Never blocking: a FIFO with no reader or a busy device answers at once.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return reasonOf(errno);
    std::optional<QString> failure = writeAll(fd, bytes, deadline, limitMs, false);
    if (::close(fd) != 0 && !failure && errno != EINTR)
        failure = reasonOf(errno);
    return failure;
}

std::optional<QString> toNetwork(const Printer& printer, const QByteArray& bytes,
                                 const QDeadlineTimer& deadline, int limitMs)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(printer.address.toUtf8().constData(),
                      QByteArray::number(printer.port).constData(), &hints, &found) != 0 ||
        !found)
        return QStringLiteral("nama printer jaringan tidak dikenal");
    std::optional<QString> failure = QStringLiteral("printer tidak terjangkau di jaringan");
    for (addrinfo* a = found; a; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                a->ai_protocol);
        if (fd < 0) {
            failure = reasonOf(errno);
            continue;
        }
        int error = 0;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd p{fd, POLLOUT, 0};
                const int ready = ::poll(&p, 1, remainingMs(deadline));
                socklen_t size = sizeof error;
                error = ready == 0 ? ETIMEDOUT
                        : ready < 0
                            ? errno
                            : (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 ? error
                                                                                           : errno);
            }
        }
        if (error == 0) {
            failure = writeAll(fd, bytes, deadline, limitMs, true);
            if (!failure)
                ::shutdown(fd, SHUT_WR);
        } else {
            failure = error == ETIMEDOUT ? noAnswer(limitMs) : reasonOf(error);
        }
        ::close(fd);
        if (!failure || deadline.hasExpired())
            break;
    }
    ::freeaddrinfo(found);
    return failure;
}
#endif

// One CUPS command with its input; its error text when it fails.
std::optional<QString> run(const QString& program, const QStringList& arguments,
                           const QByteArray& input, const QDeadlineTimer& deadline, int limitMs,
                           QByteArray* output = nullptr)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return QStringLiteral("program %1 dari CUPS tidak terpasang (paket cups-client)")
            .arg(program);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // messages as documented
    p.setProcessEnvironment(env);
    p.start(path, arguments);
    if (!p.waitForStarted(remainingMs(deadline)))
        return QStringLiteral("program %1 tidak dapat dijalankan").arg(program);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(remainingMs(deadline))) {
        p.kill();
        p.waitForFinished(200);
        return noAnswer(limitMs) + QStringLiteral(" (CUPS tidak menjawab)");
    }
    const QString error = QString::fromLocal8Bit(p.readAllStandardError()).simplified();
    if (output)
        *output = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error.contains(QLatin1String("does not exist")) ||
            error.contains(QLatin1String("Invalid destination")))
            return QStringLiteral("antrean CUPS itu tidak ada (lihat lpstat -p)");
        if (error.contains(QLatin1String("connect")) || error.contains(QLatin1String("scheduler")))
            return QStringLiteral("layanan CUPS tidak berjalan (%1)").arg(error);
        return QStringLiteral("CUPS menolak pekerjaan cetak (%1)").arg(error);
    }
    return std::nullopt;
}

std::optional<QString> toCups(const Printer& printer, const QByteArray& bytes,
                              const QString& jobName, const QDeadlineTimer& deadline, int limitMs)
{
    // CUPS stops a queue whose printer failed; a job sent there would wait
    // unseen until someone starts the queue again.
    QByteArray state;
    if (auto failure = run(QStringLiteral("lpstat"),
                           {QStringLiteral("-r"), QStringLiteral("-p"), printer.address}, {},
                           deadline, limitMs, &state))
        return failure;
    if (state.contains("not running"))
        return QStringLiteral("layanan CUPS tidak berjalan (sudo systemctl start cups)");
    if (state.contains(" disabled"))
        return QStringLiteral("antrean CUPS dihentikan (printer mati atau bermasalah; jalankan "
                              "lagi dengan: cupsenable %1)")
            .arg(printer.address);
    return run(QStringLiteral("lp"),
               {QStringLiteral("-s"), QStringLiteral("-d"), printer.address, QStringLiteral("-o"),
                QStringLiteral("raw"), QStringLiteral("-t"),
                jobName.isEmpty() ? QStringLiteral("nota") : jobName},
               bytes, deadline, limitMs);
}

std::optional<QString> transfer(const Printer& printer, const QByteArray& bytes,
                                const QString& jobName, const QDeadlineTimer& deadline,
                                int limitMs)
{
    if (printer.kind == Kind::Cups)
        return toCups(printer, bytes, jobName, deadline, limitMs);
#ifdef Q_OS_UNIX
    if (printer.kind == Kind::Device)
        return toDevice(printer.address, bytes, deadline, limitMs);
    if (printer.kind == Kind::Network)
        return toNetwork(printer, bytes, deadline, limitMs);
#endif
    return QStringLiteral("printer ESC/POS jenis ini tidak didukung di sistem ini");
}

} // namespace

QString name(const Printer& printer)
{
    switch (printer.kind) {
    case Kind::Device: return QStringLiteral("printer ESC/POS %1").arg(printer.address);
    case Kind::Network:
        return QStringLiteral("printer jaringan %1:%2")
            .arg(printer.address.contains(QLatin1Char(':'))
                     ? QLatin1Char('[') + printer.address + QLatin1Char(']')
                     : printer.address)
            .arg(printer.port);
    case Kind::Cups: return QStringLiteral("antrean CUPS \"%1\"").arg(printer.address);
    case Kind::None: break;
    }
    return QStringLiteral("printer ESC/POS");
}

std::optional<QString> send(const Printer& printer, const QByteArray& bytes,
                            const QString& jobName, int limitMs)
{
    // The worker gives up a little before the caller stops waiting, so its own
    // reason is the one reported. It owns its state: a worker stuck past the
    // limit (a name lookup that hangs) finishes later and harms nobody.
    struct Job {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::optional<QString> failure;
    };
    const auto job = std::make_shared<Job>();
    const int workerMs = std::max(100, limitMs - 400);
    try {
        std::thread([job, printer, bytes, jobName, workerMs] {
#ifdef Q_OS_UNIX
            // A reader that goes away mid-write (a FIFO, lp ending) is an error
            // here, never the signal that would end the program.
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
#endif
            std::optional<QString> failure =
                transfer(printer, bytes, jobName, QDeadlineTimer(workerMs), workerMs);
            const std::lock_guard lock(job->mutex);
            job->failure = std::move(failure);
            job->done = true;
            job->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return QStringLiteral("pengiriman ke printer tidak dapat dimulai (sistem kehabisan sumber "
                              "daya)");
    }

    const QDeadlineTimer deadline(std::max(200, limitMs - 100));
    const bool ownsEvents = QCoreApplication::instance() &&
                            QThread::currentThread() == QCoreApplication::instance()->thread();
    for (;;) {
        {
            std::unique_lock lock(job->mutex);
            if (job->finished.wait_for(lock, std::chrono::milliseconds(20),
                                       [&job] { return job->done; }))
                return job->failure;
        }
        if (deadline.hasExpired())
            return noAnswer(limitMs);
        // Windows keep painting; clicks and keys wait until the sending ends.
        if (ownsEvents)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
}

} // namespace PrinterPort
