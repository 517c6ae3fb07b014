#pragma once

#include <QObject>
#include <QString>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "wizard/ControlPresenter.h"
#include "wizard/ControlView.h"

class QWidget;

namespace tessaly {

// A report-style list of whole rows, which offers its keys (F2, Delete, Enter) to the presenter
// before handling them itself; Enter not taken goes on to the default button.
class RowList final : public QTreeWidget {
    Q_OBJECT
public:
    explicit RowList(QWidget* parent);

    std::function<bool(RowKey)> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A page or dialog of the Qt view: its widgets bound to the presenter's control ids. Binding a
// widget names it (its objectName is the control's name, which is also its help anchor) and
// forwards what the user does with it; the presenter's calls set the widgets. Nothing is decided
// here: a widget only draws and forwards.
class QtControlView final : public QObject, public ControlView {
public:
    // `scope` is the page or the dialog; a dialog closes when the presenter says so.
    QtControlView(ControlPresenter& presenter, QWidget* scope);

    // Line edits forward their edits, the focus leaving them and, before taking text, ask
    // whether it is refused (showing the note); buttons their clicks, check boxes and radio
    // buttons their state; drop-down lists the entry chosen; report-style lists (RowList) their
    // selection, double clicks and keys. SetVisible shows or hides `shownWith` when given.
    void Bind(ControlId control, QWidget* widget, QWidget* shownWith = nullptr);

    // The bound control that is or holds `widget`.
    std::optional<ControlId> IdOf(const QWidget* widget) const;
    QWidget* Widget(ControlId control) const;

    void SetText(ControlId control, const std::string& text) override;
    void SetEnabled(ControlId control, bool enabled) override;
    void SetChecked(ControlId control, bool checked) override;
    void SetVisible(ControlId control, bool visible) override;
    void SetFocus(ControlId control) override;
    void SetItems(ControlId control, const std::vector<std::string>& items) override;
    void SetCurrentItem(ControlId control, int index) override;
    void SetColumns(ControlId control, const std::vector<ListColumn>& columns) override;
    void SetRows(ControlId control, const std::vector<std::vector<std::string>>& rows) override;
    void InsertRow(ControlId control, std::size_t row,
                   const std::vector<std::string>& cells) override;
    void SetRow(ControlId control, std::size_t row, const std::vector<std::string>& cells) override;
    void RemoveRow(ControlId control, std::size_t row) override;
    void SelectRow(ControlId control, std::size_t row) override;
    std::vector<std::size_t> SelectedRows(ControlId control) const override;
    void Beep() override;
    void Close(bool accepted) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bound {
        QWidget* widget;
        QWidget* shownWith;
    };
    // Runs a presenter call, unless it comes back from the view's own change of a widget.
    template <typename Call>
    void Forward(Call call);
    void FitColumns(ControlId control, QTreeWidget* list);
    QString ToQt(ControlId control, const std::string& bytes) const;
    std::string FromQt(ControlId control, const QString& text) const;

    ControlPresenter& presenter_;
    QWidget* scope_;
    std::map<ControlId, Bound> controls_;
    std::map<ControlId, std::vector<ListColumn>> columns_;  // of the lists that have them
    int applying_ = 0;                                      // presenter calls being carried out
};

}  // namespace tessaly
