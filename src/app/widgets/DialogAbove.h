#pragma once

class QDialog;
class QWidget;

namespace rovex {

// The application's dialogs open above its windows, also while those are kept in front of
// every other window: a modal dialog hidden behind them would block every click, and the
// application would look frozen. Call before the dialog is shown.
void placeAboveKeptWindows(QWidget& dialog, bool windowsKeptInFront);

// Runs a modal dialog placed as above; what QDialog::exec() gives.
int execAboveKeptWindows(QDialog& dialog, bool windowsKeptInFront);

} // namespace rovex
