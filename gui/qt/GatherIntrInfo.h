#pragma once

#include <QDialog>
#include <cstddef>
#include <vector>

#include "actions/InfInstaller.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "wizard/PageFlow.h"
#include "wizard/WizardModel.h"

class QLabel;
class QPushButton;
class QStackedWidget;

namespace tessaly {

class CWizardPage;

// The wizard: a dialog holding the eight pages in order, with Help, Back, Next (or Finish)
// and Cancel. Pages reach the model and the services through it.
class CGatherIntrInfo final : public QDialog {
    Q_OBJECT
public:
    CGatherIntrInfo(WizardModel& model, const Platform& platform, Prompter& prompter,
                    RealTimeProductDetector& detector, PageId startPage = kPageWelcome,
                    bool registryConfigured = true, QWidget* parent = nullptr);
    ~CGatherIntrInfo() override;

    WizardModel& model() const { return model_; }
    const Platform& platform() const { return platform_; }
    Prompter& prompter() const { return prompter_; }
    RealTimeProductDetector& detector() const { return detector_; }
    // False when the program runs without a registry (no TESSALY_REGISTRY).
    bool registryConfigured() const { return registryConfigured_; }
    // The separator the core puts into the paths it composes.
    char separator() const;

    // Shows the page and makes it the active one.
    void SetActivePage(PageId id);
    PageId ActivePageId() const;
    CWizardPage* ActivePage() const;
    CWizardPage* Page(PageId id) const;

    // Back, Next, Finish or disabled Finish (WizardButton flags); Finish takes Next's place.
    void SetWizardButtons(unsigned flags);
    unsigned WizardButtons() const { return buttons_; }
    void SetTitle(const QString& title);

    void Next();
    void Back();
    void Finish();
    void ShowHelp();
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    void Activate(std::size_t index);
    void FocusFirstControl(CWizardPage* page);
    bool FinishShown() const;

    WizardModel& model_;
    const Platform& platform_;
    Prompter& prompter_;
    RealTimeProductDetector& detector_;
    bool registryConfigured_;

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
