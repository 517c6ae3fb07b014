#pragma once

#include <QDialog>
#include <cstddef>
#include <memory>
#include <vector>

#include "wizard/SheetPresenter.h"

class QPushButton;
class QStackedWidget;

namespace tessaly {

class CWizardPage;

// The wizard: a dialog holding the eight pages in order, with Help, Back, Next (or Finish) and
// Cancel, which shows what the sheet's presenter says and passes it every button.
class CGatherIntrInfo final : public QDialog, public SheetView {
    Q_OBJECT
public:
    CGatherIntrInfo(WizardModel& model, const WizardServices& services,
                    PageId startPage = kPageWelcome, QWidget* parent = nullptr);
    ~CGatherIntrInfo() override;

    SheetPresenter& presenter() const { return *presenter_; }
    PageId ActivePageId() const;
    CWizardPage* ActivePage() const;

    void SetTitle(const std::string& title) override;
    void SetButtons(unsigned flags) override;
    void FocusForwardButton() override;
    void FocusFirstControl() override;

    void Next();
    void Back();
    void Finish();
    void ShowHelp();
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    void Activate(PageId id);
    // The control of the active page that has the keyboard focus.
    std::optional<ControlId> FocusedControl() const;
    bool FinishShown() const;

    std::unique_ptr<SheetPresenter> presenter_;
    std::vector<CWizardPage*> pages_;  // in sheet order, owned by the stack
    std::size_t current_ = 0;
    unsigned buttons_ = 0;

    QStackedWidget* stack_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* finishButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace tessaly
