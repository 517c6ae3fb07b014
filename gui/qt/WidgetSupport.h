#pragma once

#include <QString>
#include <QValidator>
#include <span>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QWidget;

namespace tessaly {

// Values hold 8-bit Latin-1 bytes, the Western ANSI code page Windows reads them in.
QString FromBytes(const std::string& bytes);
std::string ToBytes(const QString& text);

// Paths travel in the file system's own encoding.
QString FromPath(const std::string& path);
std::string ToPath(const QString& path);

// Refuses characters outside Latin-1, so nothing is silently replaced when the text is stored.
class Latin1Validator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;

signals:
    // Text was turned away (typed, pasted or dropped); `characters` are the ones Latin-1 lacks,
    // each once.
    void refused(const QString& characters) const;
};

// A field and the value it shows, stated once per page; an ID field takes its canonical form
// when the user leaves it.
struct FieldBinding {
    QLineEdit* edit;
    std::string* value;
    bool isId = false;
};

// Copies the values into the fields, or with `save` the fields into the values.
void ExchangeFields(std::span<const FieldBinding> fields, bool save);

// `left` lost the focus: an ID field's value becomes canonical, in the model and on screen.
void CommitLeftId(std::span<const FieldBinding> fields, const QWidget* left);

// A single-line field for a value held as Latin-1 bytes. A character it cannot hold is refused
// with a note under the field ("refusalNote"), which goes with the next change, when the field
// loses the focus, or after a few seconds.
QLineEdit* MakeLatin1Edit(const QString& objectName, QWidget* parent);

// Writes a value into a field only when it differs, so typing keeps its cursor and undo.
void ShowValue(QLineEdit* edit, const std::string& bytes);

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
