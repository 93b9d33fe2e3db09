#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <string>

namespace rovex::test {

// A private root folder with the firewall product's folders in it.
class TempRoot final {
public:
    TempRoot();
    std::filesystem::path path() const { return m_dir.path().toStdString(); }
    std::filesystem::path log() const;
    std::filesystem::path library() const;
    std::filesystem::path nations() const;
    // Writes the simulated product's library file (rovex-sim library).
    void writeLibrary() const;
    // One country file of the database: code and its blocks.
    void writeNation(const std::string& code, const std::string& blocks) const;
    void appendLog(const std::string& text) const;

private:
    QTemporaryDir m_dir;
};

// A pf log line of the given action ("block"/"pass"), direction ("in"/"out") and endpoints.
std::string pfLine(const std::string& action, const std::string& direction, const std::string& source,
                   const std::string& sourcePort, const std::string& destination, const std::string& destinationPort);

// Runs the event loop until the condition holds or the deadline passes.
bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000);

// Accepts the next modal dialog as soon as it is shown, and hands back its text.
void acceptNextModal(QString* text);

// A peer program of the test: its standard output read line by line.
class Peer final {
public:
    Peer(const QString& program, const QStringList& arguments);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // The next line the peer printed that contains the text, or empty after the deadline.
    QByteArray lineContaining(const QByteArray& text, int milliseconds = 10000);
    // Everything printed so far that has not been read yet.
    QByteArray unread();

private:
    QProcess m_process;
    QByteArray m_buffer;
};

// Runs a program to its end; its exit code.
int runProgram(const QString& program, const QStringList& arguments);

QString simTool();
QString notificationRecorder();

} // namespace rovex::test
