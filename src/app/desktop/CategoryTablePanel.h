#pragma once

#include "intake/TrafficCategory.h"

#include <QStringList>
#include <QWidget>

class QLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace rovex {

class LiveTables;

// One live table of a category window with its filter field above and the buttons under
// it. The same panel serves all eight tables; only the category differs.
class CategoryTablePanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CategoryTablePanel)

public:
    CategoryTablePanel(LiveTables& tables, TrafficCategory category, QWidget* parent = nullptr);

    TrafficCategory category() const { return m_category; }
    QTableView& table() const { return *m_table; }
    QLineEdit& filterField() const { return *m_filter; }
    QPushButton& ignoreButton() const { return *m_ignore; }
    QPushButton& removeButton() const { return *m_remove; }
    QPushButton& infoButton() const { return *m_info; }
    QPushButton& pieButton() const { return *m_pie; }
    // The hand-off buttons exist under address tables only; null under port tables.
    QPushButton* blacklistButton() const { return m_blacklist; }
    QPushButton* groupButton() const { return m_group; }
    QPushButton* exportButton() const { return m_export; }

    // The names of the selected rows, in selection order.
    QStringList selectedNames() const;

    // Puts the names of the selected rows on the ignore list of their kind, in selection
    // order, each name once; the rows stay.
    void ignoreSelected();
    // Takes the selected rows out of the table; what was seen with them is kept.
    void removeSelected();
    // Asks for what is known of the port or address of the selected row highest up.
    void getInfoSelected();
    // Asks for the pie of the selected row highest up.
    void graficiSelected();
    // Shows the rows the filter field's text selects now, without waiting for the pause in
    // typing.
    void applyFilter();

Q_SIGNALS:
    void informationRequested(rovex::TrafficCategory category, const QString& name, QWidget* sender);
    void pieRequested(rovex::TrafficCategory category, const QString& name, QWidget* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void configureTable();
    void tellLastShownRow();
    void sizeColumns();
    void describeButtons();
    QLayout* makeButtons();
    QPushButton* addButton(const char* textKey, const char* name);

    LiveTables& m_tables;
    TrafficCategory m_category;
    QLineEdit* m_filter;
    QTimer* m_filterDelay;
    QTableView* m_table;
    QPushButton* m_ignore;
    QPushButton* m_remove;
    QPushButton* m_info;
    QPushButton* m_pie;
    QPushButton* m_blacklist = nullptr;
    QPushButton* m_group = nullptr;
    QPushButton* m_export = nullptr;
};

} // namespace rovex
