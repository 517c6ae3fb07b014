#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include "gui/qt/QtControlView.h"
#include "wizard/PagePresenter.h"

namespace tessaly {

// One page of the wizard sheet: its widgets, built the first time it is shown and bound to the
// page's presenter, which fills them and decides everything the page does.
class CWizardPage : public QWidget {
    Q_OBJECT
public:
    explicit CWizardPage(PagePresenter& presenter);

    PageId id() const { return presenter_.id(); }
    PagePresenter& presenter() const { return presenter_; }
    QtControlView& view() { return view_; }

    // Builds the controls and hands them to the presenter, once.
    void EnsureCreated();
    bool IsCreated() const { return created_; }

    // The page's help page in the resources ("page110.html").
    QString HelpPage() const;
    // The help topic for the page, at the section of the focused control when it has one.
    QUrl HelpUrl(const QWidget* focused) const;

protected:
    // Creates the widgets, lays them out and binds them to their control ids.
    virtual void CreateControls() = 0;
    void Bind(ControlId control, QWidget* widget, QWidget* shownWith = nullptr) {
        view_.Bind(control, widget, shownWith);
    }
    bool event(QEvent* event) override;

private:
    PagePresenter& presenter_;
    QtControlView view_;
    bool created_ = false;
};

}  // namespace tessaly
