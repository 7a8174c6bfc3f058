#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace {
const QString BinDir = QStringLiteral("/usr/lib/postgresql/15/bin/");
constexpr int CommandTimeoutMs = 60000;
} // namespace

PostgresServer::PostgresServer() {
    asRoot = ::geteuid() == 0;
    std::string pattern = (std::filesystem::temp_directory_path() / "trivora-pg-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error_ = QStringLiteral("cannot make a temporary folder");
        return;
    }
    folder = QString::fromStdString(pattern);
    data = folder + QStringLiteral("/data");
    if (asRoot) {
        const passwd* user = ::getpwnam("postgres");
        if (!user || ::chown(pattern.c_str(), user->pw_uid, user->pw_gid) != 0) {
            error_ = QStringLiteral("the postgres user is missing");
            return;
        }
    }
    if (!QFile::exists(BinDir + QStringLiteral("initdb"))) {
        error_ = QStringLiteral("PostgreSQL 15 is not installed (Debian package postgresql-15)");
        return;
    }
    if (!command(BinDir + QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data, QStringLiteral("-U"), QStringLiteral("postgres"),
                  QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-N"),
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C")}))
        return;
    // Role guarded must give its password over TCP; everyone else is trusted.
    QFile hba(data + QStringLiteral("/pg_hba.conf"));
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        hba.write("local all all trust\n"
                  "host all guarded 127.0.0.1/32 scram-sha-256\n"
                  "host all all 127.0.0.1/32 trust\n") < 0) {
        error_ = QStringLiteral("cannot write pg_hba.conf");
        return;
    }
    hba.close();
    if (!start()) return;
    run(QStringLiteral("postgres"),
        QStringLiteral("CREATE ROLE trivora LOGIN; CREATE ROLE guarded LOGIN PASSWORD 's3cret'"));
}

PostgresServer::~PostgresServer() {
    stop();
    if (!folder.isEmpty()) QDir(folder).removeRecursively();
}

bool PostgresServer::command(const QString& program, const QStringList& arguments,
                             QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PGPASSFILE", "PGHOST", "PGPORT", "PGUSER", "PGDATABASE"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    if (asRoot)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                  QStringLiteral("--"), program} +
                          arguments);
    else
        process.start(program, arguments);
    const bool done = process.waitForFinished(CommandTimeoutMs);
    const QString text = QString::fromLocal8Bit(process.readAll());
    if (output) *output = text;
    if (done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    error_ = QStringLiteral("%1 failed: %2").arg(QFileInfo(program).fileName(), text.trimmed());
    return false;
}

bool PostgresServer::start() {
    if (running) return true;
    if (port_ == 0) port_ = freePort();
    running = command(
        BinDir + QStringLiteral("pg_ctl"),
        {QStringLiteral("-D"), data, QStringLiteral("-l"), folder + QStringLiteral("/log"),
         QStringLiteral("-w"), QStringLiteral("-o"),
         QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                        "-c max_connections=60")
             .arg(port_)
             .arg(folder),
         QStringLiteral("start")});
    if (running) error_.clear();
    return running;
}

bool PostgresServer::stop() {
    if (!running) return true;
    running = !command(BinDir + QStringLiteral("pg_ctl"),
                       {QStringLiteral("-D"), data, QStringLiteral("-m"), QStringLiteral("fast"),
                        QStringLiteral("-w"), QStringLiteral("stop")});
    return !running;
}

bool PostgresServer::freeze(bool frozen) {
    QFile pidFile(data + QStringLiteral("/postmaster.pid"));
    if (!running || !pidFile.open(QIODevice::ReadOnly)) return false;
    const pid_t server = pidFile.readLine().trimmed().toInt();
    if (server <= 0) return false;
    // The server and the processes it started, found by their parent.
    QList<pid_t> processes{server};
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        // "pid (name) state ppid ...": the name may hold blanks, the rest does not.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == server) processes << entry.toInt();
    }
    bool ok = true;
    // A backend whose client has just gone may end between the listing and the signal.
    for (const pid_t pid : processes)
        ok = (::kill(pid, frozen ? SIGSTOP : SIGCONT) == 0 || errno == ESRCH) && ok;
    return ok;
}

QString PostgresServer::createDatabase() {
    const QString name = QStringLiteral("venue_%1").arg(++databases);
    if (!run(QStringLiteral("postgres"),
             QStringLiteral("CREATE DATABASE %1 OWNER trivora").arg(name)))
        return QString();
    return name;
}

QString PostgresServer::address(const QString& database, const QString& user) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user).arg(port_).arg(database);
}

bool PostgresServer::run(const QString& database, const QString& sql) {
    return command(BinDir + QStringLiteral("psql"),
                   {QStringLiteral("-h"), folder, QStringLiteral("-p"), QString::number(port_),
                    QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"),
                    database, QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                    QStringLiteral("-q"), QStringLiteral("-c"), sql});
}

int PostgresServer::freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}
