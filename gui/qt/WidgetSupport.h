#pragma once

#include <QString>
#include <string>

class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessaly {

// The window a dialog or message box opens over: the modal one on top, else the active one.
QWidget* DialogOwner();

// Values hold 8-bit Latin-1 bytes, the Western ANSI code page Windows reads them in.
QString FromBytes(const std::string& bytes);
std::string ToBytes(const QString& text);

// Paths travel in the file system's own encoding.
QString FromPath(const std::string& path);
std::string ToPath(const QString& path);

// Shows `note` under a field that refused text: a label over the window's other controls, which
// goes with the next change, when the field loses the focus, or after a few seconds.
void ShowRefusalNote(QLineEdit* edit, const QString& note);

// A push button with its text and object name.
QPushButton* MakeButton(const QString& text, const QString& objectName, QWidget* parent);

// Wrapping static text, as a dialog template's multi-line text.
QLabel* MakeText(const QString& text, QWidget* parent, const QString& objectName = {});

// A horizontal separator line across the page.
QFrame* MakeSeparator(QWidget* parent);

// A label whose mnemonic moves the focus to `buddy`.
QLabel* MakeBuddyLabel(const QString& text, QWidget* buddy, QWidget* parent,
                       const QString& objectName);

// A mnemonic shared by a control of a page and a button of the sheet would be ambiguous, and Qt
// would only move the focus between them. Called for a ShortcutOverride event on its way up from
// the focused control: when a button among `scope`'s children (direct ones only with
// `directOnly`) answers the Alt key, it takes the key and is clicked, so the button nearest the
// focus wins.
bool ClaimMnemonic(QWidget* scope, QEvent* event, bool directOnly);

// Dialog units of the widget's font in pixels, the measure dialog templates are laid out in.
int DialogUnitsX(const QWidget* widget, int units);
int DialogUnitsY(const QWidget* widget, int units);

}  // namespace tessaly
