#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include "wizard/PageFlow.h"
#include "wizard/PageIds.h"
#include "wizard/WizardModel.h"

namespace tessaly {

class CGatherIntrInfo;

// One page of the wizard sheet. Its controls are built the first time it is shown; it moves
// values between them and the sheet's model by data exchange and answers the sheet's buttons.
class CWizardPage : public QWidget {
    Q_OBJECT
public:
    CWizardPage(CGatherIntrInfo& sheet, PageId id, const QString& title);

    PageId id() const { return id_; }
    const QString& title() const { return title_; }

    // Builds the controls and fills them, once.
    void EnsureCreated();
    bool IsCreated() const { return created_; }

    // The page becomes the active one: set the wizard buttons here.
    virtual void OnSetActive();
    // The page is about to be left by Back or Next: the controls go into the values.
    virtual void OnKillActive() { UpdateData(true); }
    virtual NavAnswer OnWizardNext() { return NavAnswer::Default(); }
    virtual NavAnswer OnWizardBack() { return NavAnswer::Default(); }
    // True closes the wizard.
    virtual bool OnWizardFinish() { return true; }
    // True lets Cancel close the wizard.
    virtual bool OnQueryCancel() { return true; }
    // A sheet button was pressed: finish what leaving the focused field would do, so Enter on a
    // field behaves like a click on the button.
    virtual void CommitEditing();

    // The page's help page in the resources ("page110.html").
    QString HelpPage() const;
    // The help topic for the page, at the section of the focused control when it has one.
    QUrl HelpUrl(const QWidget* focused) const;

    // The control that takes the focus on activation when Next and Finish are not available;
    // null: the first control in tab order.
    virtual QWidget* FocusWithoutNext() const { return nullptr; }

protected:
    virtual void CreateControls() = 0;
    // First creation: the controls take the values.
    virtual void OnInitDialog() { UpdateData(false); }
    // Copies the values into the controls, or with `save` the controls into the values.
    virtual void DoDataExchange(bool save) { (void)save; }
    // A watched field lost the focus to another control.
    virtual void OnFocusLost(QWidget* field) { (void)field; }

    void UpdateData(bool save) { DoDataExchange(save); }
    void WatchFocusLoss(QWidget* field);

    CGatherIntrInfo& sheet() const { return sheet_; }
    WizardModel& model() const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    CGatherIntrInfo& sheet_;
    PageId id_;
    QString title_;
    bool created_ = false;
};

}  // namespace tessaly
