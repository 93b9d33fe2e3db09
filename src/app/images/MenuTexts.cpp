#include "app/images/MenuTexts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace rovex {

namespace {

const char* const context = "MainMenu";

QString textsFolder() { return QStringLiteral(":/translations"); }

// Marks the translator this file installs, so a later call finds and replaces it.
QString translatorName() { return QStringLiteral("rovex-menu-texts"); }

} // namespace

void installMenuTexts(QCoreApplication& application)
{
    // Deleting a translator takes it out of the application's list.
    const std::unique_ptr<QTranslator> previous(
        application.findChild<QTranslator*>(translatorName(), Qt::FindDirectChildrenOnly));
    auto translator = std::make_unique<QTranslator>();
    const QString file = QString::fromLatin1(context);
    if (!translator->load(QLocale(), file, QStringLiteral("_"), textsFolder())
        && !translator->load(file + QStringLiteral("_en"), textsFolder()))
        return;
    translator->setObjectName(translatorName());
    translator->setParent(&application);
    QCoreApplication::installTranslator(translator.release());
}

QString menuText(const char* key) { return QCoreApplication::translate(context, key); }

} // namespace rovex
