#include "app/desktop/RovexController.h"

#include "app/desktop/AppDelegate.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/TortaPopover.h"
#include "app/images/MenuTexts.h"
#include "app/widgets/DialogAbove.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

#include <iostream>

namespace rovex {

RovexController::RovexController(AppDelegate& appdelegate, ProductBus& bus, QObject* parent)
    : QObject(parent),
      m_appdelegate(appdelegate),
      m_handOff(bus),
      m_myAlert(std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("RovexLogsVisualizer"), QString()))
{}

RovexController::~RovexController() = default;

void RovexController::sendRovexAddress(const QString& address, QWidget*)
{
    report(m_handOff.sendRovexAddress(address));
}

void RovexController::sendRovexAddresses(const QStringList& addresses, QWidget*)
{
    report(m_handOff.sendRovexAddresses(addresses));
}

void RovexController::sendToRovexGroup(const QStringList& addresses, QWidget*)
{
    report(m_handOff.sendToRovexGroup(addresses));
}

// A message that could not leave is told like a product that is not there: the user
// must not believe the address was handed over.
void RovexController::report(ProductHandOff::Outcome outcome)
{
    if (outcome == ProductHandOff::Outcome::Sent)
        return;
    if (outcome == ProductHandOff::Outcome::SendFailed)
        std::cerr << m_handOff.diagnostic().toStdString() << std::endl;
    m_myAlert->setText(menuText("norovex"));
    execAboveKeptWindows(*m_myAlert, m_appdelegate.keepsInFront());
}

QStringList RovexController::selectedAddresses(TrafficKind kind) const
{
    return m_appdelegate.categoryWindow(kind).addressPanel().selectedNames();
}

void RovexController::blacklist(TrafficKind kind)
{
    const QStringList addresses = selectedAddresses(kind);
    if (addresses.size() == 1)
        sendRovexAddress(addresses.constFirst());
    else if (addresses.size() > 1)
        sendRovexAddresses(addresses);
}

void RovexController::addToGroup(TrafficKind kind)
{
    const QStringList addresses = selectedAddresses(kind);
    if (!addresses.isEmpty())
        sendToRovexGroup(addresses);
}

void RovexController::exportAddresses(TrafficKind kind) { saveAddresses(selectedAddresses(kind)); }

void RovexController::blacklistTorta()
{
    const TortaPopover& torta = m_appdelegate.tortaPopover();
    const QStringList addresses = torta.selectedSliceNames();
    if (torta.tortaPopoverIPorPORT() == u"PORT" && !addresses.isEmpty())
        sendRovexAddresses(addresses);
}

void RovexController::addToGroupTorta()
{
    const TortaPopover& torta = m_appdelegate.tortaPopover();
    const QStringList addresses = torta.selectedSliceNames();
    if (torta.tortaPopoverIPorPORT() == u"PORT" && !addresses.isEmpty())
        sendToRovexGroup(addresses);
}

void RovexController::exportTorta() { saveAddresses(m_appdelegate.tortaPopover().selectedSliceNames()); }

// One address a line, in selection order; written whole or not at all, so a failed write
// leaves the file that was there and the user is told.
void RovexController::saveAddresses(const QStringList& addresses)
{
    if (addresses.isEmpty())
        return;
    QByteArray text;
    for (const QString& address : addresses) {
        if (!address.isEmpty())
            text += address.toUtf8() + '\n';
    }
    QFileDialog panel(nullptr, QStringLiteral("Save IP list to file"));
    panel.setObjectName(QStringLiteral("savePanel"));
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    if (execAboveKeptWindows(panel, m_appdelegate.keepsInFront()) != QDialog::Accepted
        || panel.selectedFiles().isEmpty())
        return;
    const QString destination = panel.selectedFiles().constFirst();
    QSaveFile file(destination);
    // Unbuffered, so that a short write (a full disk) shows in write()'s count; a buffered
    // flush may take it for success.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(text) == text.size() && file.commit())
        return;
    m_myAlert->setText(menuText("exportfailed") + QStringLiteral("\n") + destination + QStringLiteral("\n")
                       + file.errorString());
    execAboveKeptWindows(*m_myAlert, m_appdelegate.keepsInFront());
}

} // namespace rovex
