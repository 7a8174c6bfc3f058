#pragma once

#include <QString>
#include <QStringList>

// A PostgreSQL server of the test's own: a fresh cluster (initdb) in a temporary folder,
// listening on a free port of 127.0.0.1 with its socket in that folder, stopped and removed
// when this object goes. Run as root, the server runs as the postgres user.
//
// Role "trivora" may log in without a password; role "guarded" only with the password
// "s3cret" (scram-sha-256), to test the password file.
class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Empty when the server runs; otherwise what went wrong.
    const QString& error() const { return error_; }
    int port() const { return port_; }

    bool start();
    bool stop();
    // Stops the server's processes where they are (SIGSTOP), or lets them go on (SIGCONT):
    // frozen, the server takes connections and answers nothing.
    bool freeze(bool frozen);
    bool isRunning() const { return running; }
    // A fresh database owned by role "trivora", with a name never used before.
    QString createDatabase();
    // "postgresql://user@127.0.0.1:port/database".
    QString address(const QString& database, const QString& user = QStringLiteral("trivora")) const;
    // Runs sql in the database as the superuser; false with error() set when it fails.
    bool run(const QString& database, const QString& sql);
    // A free TCP port of 127.0.0.1 at the time of asking.
    static int freePort();

private:
    bool command(const QString& program, const QStringList& arguments, QString* output = nullptr);

    QString folder;
    QString data;
    QString error_;
    int port_ = 0;
    int databases = 0;
    bool running = false;
    bool asRoot = false;
};
