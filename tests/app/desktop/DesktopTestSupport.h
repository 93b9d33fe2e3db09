#pragma once

#include "QtTestSupport.h"

#include "app/desktop/AppDelegate.h"
#include "app/desktop/LiveTables.h"

#include <QAbstractItemView>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
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

// A "block in" line from the source to the port of a local address.
QByteArray blockIn(const std::string& source, const std::string& port);

// Live tables under a private root that tell the views after every chunk, ranked by count,
// with a service table of their own (ftp 21, ssh 22, http 80, https 443).
struct LiveTablesFixture : testing::Test {
    LiveTablesFixture();

    void feed(const QByteArray& text) { tables.readChunk(text); }

    TempRoot root;
    CountryDatabase countries;
    LiveTables tables;
};

// Selects whole rows of a view, by their row in the view, after clearing its selection.
void selectRows(QAbstractItemView& view, std::initializer_list<int> rows);

// Accepts the next modal dialog as soon as it is shown, and hands back its text and whether
// it was placed above windows kept in front.
void acceptNextModal(QString* text, bool* above = nullptr);

// The application started under the root; its whois server is a refused port on
// loopback, so no test reaches beyond the machine.
struct Delegate {
    explicit Delegate(const TempRoot& root);
    AppDelegate delegate;
};

// Takes the pages the application asks the desktop to open (installed as the URL handler),
// noting whether a modal dialog was still up at that moment.
class OpenedPages final : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;
    bool openedUnderADialog = false;

public Q_SLOTS:
    void open(const QUrl& url);
};

QString simTool();
QString notificationRecorder();

} // namespace rovex::test
