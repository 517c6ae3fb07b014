#pragma once

#include "gui/qt/WizardPage.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tessaly {

// Page 6: the instrument prefix, the output directory and the files the generation writes.
class CPageFinal final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageFinal(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
    NavAnswer OnWizardBack() override;
    // The prefix is checked by Next itself, so leaving it for a sheet button shows no message.
    void CommitEditing() override {}

protected:
    void CreateControls() override;
    void OnInitDialog() override;
    void DoDataExchange(bool save) override;
    void OnFocusLost(QWidget* field) override;

private:
    void RunValidatePrefix();
    void RefreshFileList(bool readFields);
    void OnPrefixChanged();
    void OnDirectoryChanged();
    void Browse();
    void ShowHazards();

    QLabel* noteText_ = nullptr;           // 1079
    QLabel* prefixLabel_ = nullptr;        // 1038
    QLineEdit* prefixEdit_ = nullptr;      // 1004
    QLineEdit* directoryEdit_ = nullptr;   // 1003
    QPushButton* browseButton_ = nullptr;  // 1012
    QPlainTextEdit* fileList_ = nullptr;   // 1028
    QWidget* hazardArea_ = nullptr;        // shown while a value would be misread
    QPlainTextEdit* hazardText_ = nullptr;
};

}  // namespace tessaly
