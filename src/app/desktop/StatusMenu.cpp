#include "app/desktop/StatusMenu.h"

#include "app/desktop/AppDelegate.h"
#include "app/images/Images.h"

namespace rovex {

namespace {

using Action = void (AppDelegate::*)();

// One entry: its title by key, its image by name (none when empty) and its action.
QAction* addEntry(QMenu& menu, AppDelegate& delegate, const char* titleKey, const char* image, Action action)
{
    QAction* entry = menu.addAction(menuText(titleKey));
    entry->setObjectName(QString::fromLatin1(titleKey));
    entry->setShortcut(QKeySequence());
    if (*image != '\0')
        entry->setIcon(Images::named(QString::fromLatin1(image)));
    QObject::connect(entry, &QAction::triggered, &delegate, action);
    return entry;
}

} // namespace

StatusMenu::StatusMenu() = default;

void StatusMenu::build(AppDelegate& delegate)
{
    buildStatusEntries(delegate);
    buildOptionsEntries(delegate);
    optionsItem->setMenu(&m_optionsmenu);
    m_menu.addAction(optionsItem);
}

void StatusMenu::buildStatusEntries(AppDelegate& delegate)
{
    blockeddownItem = addEntry(m_menu, delegate, "blockin", "menublockdown", &AppDelegate::openInboundBlocked);
    blockedupItem = addEntry(m_menu, delegate, "blockout", "menublockup", &AppDelegate::openOutboundBlocked);
    passeddownItem = addEntry(m_menu, delegate, "passedin", "menupassdown", &AppDelegate::openInboundPassed);
    passedupItem = addEntry(m_menu, delegate, "passedout", "menupassup", &AppDelegate::openOutboundPassed);
    m_menu.addSeparator();
    tortaItem = addEntry(m_menu, delegate, "torta", "menutorta", &AppDelegate::openLogsWindow);
    simplelogItem = addEntry(m_menu, delegate, "menulogs", "menulogs", &AppDelegate::openSimpleLogWindow);
    logsItem = addEntry(m_menu, delegate, "console", "menuconsole", &AppDelegate::openLogsConsole);
    m_menu.addSeparator();
    infoItem = addEntry(m_menu, delegate, "openinfo", "", &AppDelegate::openinfowindow);
    // The options entry goes last, once its submenu is filled.
    optionsItem = new QAction(menuText("menuoptions"), &m_menu);
    optionsItem->setObjectName(QStringLiteral("menuoptions"));
}

void StatusMenu::buildOptionsEntries(AppDelegate& delegate)
{
    showAllItem = addEntry(m_optionsmenu, delegate, "menushowall", "", &AppDelegate::showAllWindows);
    showAlwaysInFront = addEntry(m_optionsmenu, delegate, "menukeep", "", &AppDelegate::setAlwaysInFront);
    showAlwaysInFront->setCheckable(true);
    showAlwaysInFront->setChecked(false);
    m_optionsmenu.addSeparator();
    addEntry(m_optionsmenu, delegate, "menuignore", "", &AppDelegate::openIgnoreLists);
    addEntry(m_optionsmenu, delegate, "menuclean", "", &AppDelegate::cleanAll);
    m_optionsmenu.addSeparator();
    logFileItem = addEntry(m_optionsmenu, delegate, "menulogfile", "", &AppDelegate::chooseLogFile);
    allLayoutsItem = addEntry(m_optionsmenu, delegate, "menulayouts", "", &AppDelegate::readAllLayouts);
    allLayoutsItem->setCheckable(true);
    allLayoutsItem->setChecked(delegate.logChoice().layouts == LayoutSetting::All);
    allLayoutsItem->setToolTip(menuText("menulayoutstip"));
    m_optionsmenu.setToolTipsVisible(true);
    m_optionsmenu.addSeparator();
    addEntry(m_optionsmenu, delegate, "menulogin", "", &AppDelegate::addLoginItem);
    updatesItem = addEntry(m_optionsmenu, delegate, "menuupdates", "", &AppDelegate::checkforupdate);
    if (delegate.versionCheck() == nullptr) {
        updatesItem->setEnabled(false);
        updatesItem->setToolTip(menuText("noupdserver"));
        m_optionsmenu.setToolTipsVisible(true);
    }
    m_optionsmenu.addSeparator();
    addEntry(m_optionsmenu, delegate, "menuabout", "", &AppDelegate::openAbout);
    addEntry(m_optionsmenu, delegate, "menuquit", "", &AppDelegate::quitapp);
}

} // namespace rovex
